#include "pagerules.h"

#include "ledpalette.h"
#include "namelists.h"
#include "namerules.h"
#include "profilesendplan.h"
#include "xysensitivity.h"

#include <QDebug>

QVariantList PageRules::sendPlan(const QString &flow, int model) const
{
    const int named = ProfileSendPlan::flowNamed(flow);
    if (named < 0) {
        qDebug() << "No send plan named" << flow;
        return {};
    }
    QVariantList out;
    for (const ProfileSendPlan::Step &step : ProfileSendPlan::steps(ProfileSendPlan::Flow(named), model)) {
        out.append(QVariantMap{{QStringLiteral("panel"), ProfileSendPlan::panelName(step.panel)},
                               {QStringLiteral("action"), ProfileSendPlan::actionName(step.action)}});
    }
    return out;
}

QVariantList PageRules::ledPalette(int r, int g, int b) const
{
    return LedPalette::palette(r, g, b);
}

int PageRules::ledColourIndex(int r, int g, int b) const
{
    return LedPalette::colourIndex(r, g, b);
}

QStringList PageRules::withoutSentinel(const QVariantList &stored) const
{
    return NameLists::withoutSentinel(stored);
}

QString PageRules::firstFreeName(const QStringList &used, const QString &prefix, const QString &suffix) const
{
    return NameRules::firstFreeName(used, prefix, suffix);
}

bool PageRules::isSafeRecoilName(const QString &name) const
{
    return NameRules::isSafeRecoilName(name);
}

int PageRules::xyLevel(const QVariant &stored) const
{
    return XySensitivity::storedLevel(stored.toString());
}

int PageRules::xyWire(int level) const
{
    return XySensitivity::wireValue(level);
}

int PageRules::firstFreeProfile(const QVariantList &used) const
{
    QList<int> numbers;
    for (const QVariant &number : used)
        numbers.append(number.toInt());
    return NameRules::firstFreeProfile(numbers);
}
