// The main() of a fuzz target built without libFuzzer: replays every file named
// on the command line (folders: every file inside) and then -runs=N cases made
// by mutating them, so the gcc build checks the targets too. Same arguments as
// a libFuzzer run for these uses (-runs=, -seed=, -dict=).
#include <QByteArray>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QList>

#include <cstdint>
#include <cstdio>
#include <random>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

qsizetype pick(std::mt19937 &rng, qsizetype n)
{
    return n <= 0 ? 0 : qsizetype(rng() % uint32_t(n));
}

QByteArray readAll(const QString &path)
{
    QFile in(path);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

// The tokens of a dictionary whose only escape is \xHH, a form libFuzzer reads too.
QList<QByteArray> readDictionary(const QString &path)
{
    QList<QByteArray> tokens;
    for (const QByteArray &raw : readAll(path).split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.size() > 2 && line.startsWith('"') && line.endsWith('"'))
            tokens.append(QByteArray::fromPercentEncoding(line.sliced(1, line.size() - 2).replace("\\x", "%")));
    }
    return tokens;
}

// One to six mutations that break readers: odd bytes, the format's tokens, cut, repeated or spliced pieces.
QByteArray mutate(QByteArray data, const QList<QByteArray> &pool, const QList<QByteArray> &tokens, std::mt19937 &rng)
{
    for (int steps = 1 + int(pick(rng, 6)); steps > 0; --steps) {
        switch (pick(rng, 5)) {
        case 0:
            if (!data.isEmpty())
                data[pick(rng, data.size())] = char(rng());
            break;
        case 1:
            data.insert(pick(rng, data.size() + 1),
                        tokens.isEmpty() ? QByteArray(1, char(rng())) : tokens.at(pick(rng, tokens.size())));
            break;
        case 2:
            data.remove(pick(rng, data.size()), 1 + pick(rng, 16));
            break;
        case 3:
            data.insert(pick(rng, data.size() + 1), data.mid(pick(rng, data.size()), 1 + pick(rng, 16)));
            break;
        default: {
            const QByteArray &other = pool.at(pick(rng, pool.size()));
            data = data.left(pick(rng, data.size() + 1)) + other.mid(pick(rng, other.size() + 1));
            break;
        }
        }
    }
    return data.left(1 << 13);
}

} // namespace

int main(int argc, char **argv)
{
    long runs = 0;
    unsigned seed = 1;
    QList<QByteArray> pool;
    QList<QByteArray> tokens;
    for (int i = 1; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        if (path.startsWith(u"-dict="))
            tokens += readDictionary(path.mid(6));
        else if (path.startsWith(u"-runs="))
            runs = path.mid(6).toLong();
        else if (path.startsWith(u"-seed="))
            seed = path.mid(6).toUInt();
        else if (!QFileInfo(path).isDir())
            pool.append(readAll(path));
        else
            for (QDirIterator it(path, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
                pool.append(readAll(it.next()));
    }
    for (const QByteArray &input : pool)
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(input.constData()), size_t(input.size()));
    const qsizetype replayed = pool.size();
    if (pool.isEmpty())
        pool.append(QByteArray());
    std::mt19937 rng(seed);
    for (long run = 0; run < runs; ++run) {
        const QByteArray input = mutate(pool.at(pick(rng, pool.size())), pool, tokens, rng);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(input.constData()), size_t(input.size()));
        if (pool.size() < 256 && run % 16 == 0)
            pool.append(input);   // mutations of mutations reach further
    }
    std::printf("replayed %lld corpus files and %ld generated cases\n", static_cast<long long>(replayed), runs);
    return 0;
}
