#include "profilevalues.h"

#include "dpiencoding.h"
#include "inivalues.h"
#include "profilekeys.h"
#include "profilestore.h"
#include "wholenumber.h"

#include <QList>

#include <initializer_list>

namespace {

struct Span
{
    qint64 low;
    qint64 high;
    int fallback;
};

const QList<Span> ledEffectSpans{{0, 13, 0}, {0, 7, 0}, {0, 4, 4}, {0, 255, 255}, {0, 255, 0}, {0, 255, 0}};

bool inSpan(const QVariant &value, const Span &span, int *out)
{
    const std::optional<qint64> n = wholeNumber(value);
    if (!n || *n < span.low || *n > span.high)
        return false;
    *out = int(*n);
    return true;
}

QVariantList readList(const ProfileStore &store, const QString &key, const QList<Span> &spans)
{
    const QVariantList current = store.list(key);
    QVariantList factory;
    bool factoryRead = false;
    QVariantList out;
    for (qsizetype i = 0; i < spans.size(); ++i) {
        int n = spans[i].fallback;
        if (!inSpan(current.value(i), spans[i], &n)) {
            if (!factoryRead) {
                factory = IniValues::toList(store.factoryValue(key));
                factoryRead = true;
            }
            if (!inSpan(factory.value(i), spans[i], &n))
                n = spans[i].fallback;
        }
        out.append(n);
    }
    return out;
}

QVariantList readList(const ProfileStore &store, const QString &key, int count, const Span &span)
{
    return readList(store, key, QList<Span>(count, span));
}

// One of `allowed`, the first when neither the profile nor the factory profile holds one.
int readChoice(const ProfileStore &store, const QString &key, std::initializer_list<int> allowed)
{
    for (const QVariant &stored : {store.value(key), store.factoryValue(key)}) {
        const std::optional<qint64> n = wholeNumber(stored);
        for (int a : allowed) {
            if (n && *n == a)
                return a;
        }
    }
    return *allowed.begin();
}

} // namespace

namespace ProfileValues {

QVariantList keyRow(const ProfileStore &store, int button)
{
    return readList(store, QLatin1String(ProfileKey::keyDefinePrefix) + QString::number(button), 4, {0, 255, 0});
}

QVariantList dpiStages(const ProfileStore &store, uint did)
{
    const DpiVariant &variant = dpiVariant(did);
    return readList(store, QLatin1String(variant.profileKey), 8, {smallestDpi, variant.largest, int(smallestDpi)});
}

QVariantList dpiFlags(const ProfileStore &store)
{
    return readList(store, QLatin1String(ProfileKey::dpiSelect), 8, {0, 1, 1});
}

QVariantList colourTable(const ProfileStore &store, int type)
{
    return readList(store, QLatin1String(ProfileKey::colourTablePrefix) + QString::number(type), 24, {0, 255, 0});
}

QVariantList ledEffect(const ProfileStore &store)
{
    return readList(store, QLatin1String(ProfileKey::ledEffect), ledEffectSpans);
}

int reportRate(const ProfileStore &store)
{
    const QString key = QLatin1String(ProfileKey::reportRate);
    // Anything above the slowest interval has always loaded as that interval.
    const std::optional<qint64> n = wholeNumber(store.value(key));
    return n && *n > 8 ? 8 : readChoice(store, key, {1, 2, 4, 8});
}

int liftOff(const ProfileStore &store)
{
    return readChoice(store, QLatin1String(ProfileKey::liftOff), {2, 3});
}

bool validLedEffect(const QVariantList &record)
{
    if (record.size() != ledEffectSpans.size())
        return false;
    int n = 0;
    for (qsizetype i = 0; i < record.size(); ++i) {
        if (!inSpan(record.at(i), ledEffectSpans.at(i), &n))
            return false;
    }
    return true;
}

} // namespace ProfileValues
