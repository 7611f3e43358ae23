// The main() of a fuzz target built without libFuzzer: replays every file named
// on the command line (folders: every file inside) and then -runs=N cases made
// by mutating them, so the gcc build checks the targets too. Same arguments as
// a libFuzzer run for these uses (-runs=, -seed=, -dict=).
#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QList>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

void collect(const QString &path, QList<QByteArray> &inputs)
{
    const auto readOne = [&inputs](const QString &file) {
        QFile in(file);
        if (in.open(QIODevice::ReadOnly))
            inputs.append(in.readAll());
    };
    if (QFileInfo(path).isDir()) {
        QDirIterator it(path, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            readOne(it.next());
    } else {
        readOne(path);
    }
}

// The quoted tokens of a libFuzzer dictionary ("text", name="text"), with its \\, \" and \xHH escapes.
QList<QByteArray> readDictionary(const QString &path)
{
    QList<QByteArray> tokens;
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read dictionary %s\n", qPrintable(path));
        return tokens;
    }
    for (const QByteArray &raw : in.readAll().split('\n')) {
        const QByteArray line = raw.trimmed();
        const qsizetype open = line.indexOf('"');
        if (line.startsWith('#') || open < 0 || !line.endsWith('"') || line.size() - 1 <= open)
            continue;
        const QByteArray quoted = line.sliced(open + 1, line.size() - open - 2);
        QByteArray token;
        for (qsizetype i = 0; i < quoted.size(); ++i) {
            if (quoted.at(i) == '\\' && i + 3 < quoted.size() && quoted.at(i + 1) == 'x') {
                token += char(quoted.mid(i + 2, 2).toInt(nullptr, 16));
                i += 3;
            } else if (quoted.at(i) == '\\' && i + 1 < quoted.size()) {
                token += quoted.at(++i);
            } else {
                token += quoted.at(i);
            }
        }
        tokens.append(token);
    }
    return tokens;
}

// One mutation of the kinds that break readers: flipped bits, odd bytes,
// cut, repeated or spliced pieces, tokens of the format.
QByteArray mutate(QByteArray data, const QList<QByteArray> &pool, const QList<QByteArray> &tokens, std::mt19937 &rng)
{
    const auto pick = [&rng](int n) { return n <= 0 ? 0 : int(rng() % uint32_t(n)); };
    const int steps = 1 + pick(6);
    for (int s = 0; s < steps; ++s) {
        switch (pick(8)) {
        case 0:
            if (!data.isEmpty())
                data[pick(data.size())] ^= char(1 << pick(8));
            break;
        case 1:
            if (!data.isEmpty())
                data[pick(data.size())] = char(rng());
            break;
        case 2:
            data.insert(pick(data.size() + 1), char(rng()));
            break;
        case 3:
            if (!data.isEmpty())
                data.truncate(pick(data.size()));
            break;
        case 4: {
            const int from = pick(data.size());
            data.insert(pick(data.size() + 1), data.mid(from, pick(64)));
            break;
        }
        case 5:
            data.insert(pick(data.size() + 1), tokens.at(pick(int(tokens.size()))));
            break;
        case 6: {
            const QByteArray &other = pool.at(pick(pool.size()));
            data = data.left(pick(data.size() + 1)) + other.mid(pick(other.size()));
            break;
        }
        default:
            if (!data.isEmpty())
                data.remove(pick(data.size()), 1 + pick(16));
            break;
        }
    }
    return data.left(1 << 13);
}

} // namespace

int main(int argc, char **argv)
{
    long runs = 0;
    unsigned seed = 1;
    QList<QByteArray> inputs;
    QList<QByteArray> tokens{"=", "\n", "[", "]", ",", "\"", "\\", "@", "%", "\r\n", "total=", "=2147483647", "=-1"};
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "-dict=", 6) == 0)
            tokens += readDictionary(QString::fromLocal8Bit(argv[i] + 6));
        else if (std::strncmp(argv[i], "-runs=", 6) == 0)
            runs = std::atol(argv[i] + 6);
        else if (std::strncmp(argv[i], "-seed=", 6) == 0)
            seed = unsigned(std::atol(argv[i] + 6));
        else if (argv[i][0] != '-')
            collect(QString::fromLocal8Bit(argv[i]), inputs);
    }
    for (const QByteArray &input : inputs)
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(input.constData()), size_t(input.size()));
    QList<QByteArray> pool = inputs;
    if (pool.isEmpty())
        pool.append(QByteArray());
    std::mt19937 rng(seed);
    for (long run = 0; run < runs; ++run) {
        const QByteArray input = mutate(pool.at(int(rng() % uint32_t(pool.size()))), pool, tokens, rng);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(input.constData()), size_t(input.size()));
        if (pool.size() < 256 && run % 16 == 0)
            pool.append(input);   // mutations of mutations reach further
    }
    std::printf("replayed %lld corpus files and %ld generated cases\n", static_cast<long long>(inputs.size()), runs);
    return 0;
}
