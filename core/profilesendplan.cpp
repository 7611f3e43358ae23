#include "profilesendplan.h"

#include <iterator>

namespace ProfileSendPlan {

namespace {

// A step the flow leaves out on model 0.
struct PlanStep
{
    Panel panel;
    Action action;
    bool onModel0 = true;
};

// The lighting is read before anything that lights the mouse: those sends light it with the
// colours the lighting panel shows, which must already be this profile's.
const QList<PlanStep> showSteps{{Lighting, Read}, {Keys, Read}, {Axes, Read}, {Dpi, Read}, {ReportRate, Read},
                                {PointerSpeed, Read}, {DoubleClick, Read}, {ScrollLines, Read}, {LiftOff, Read}};
const QList<PlanStep> switchSteps{{Lighting, Read}, {Keys, Send}, {Axes, Send}, {Dpi, Send}, {Lighting, Send},
                                  {ReportRate, Send}, {PointerSpeed, Send}, {DoubleClick, Send}, {ScrollLines, Send},
                                  {LiftOff, Send, false}, {Lighting, Refresh}};
const QList<PlanStep> resetSteps{{Keys, Send}, {Lighting, Send}, {Axes, Send}, {Dpi, Send}, {ReportRate, Send},
                                 {PointerSpeed, Send}, {DoubleClick, Send}, {ScrollLines, Send},
                                 {LiftOff, Send, false}, {Lighting, Refresh}};
const QList<PlanStep> macroSteps{{MacroButtons, Send}};
const QList<PlanStep> loadSteps{{MacroButtons, Send}, {Lighting, Read}, {Keys, Send}, {Axes, Send}, {Dpi, Send},
                                {Lighting, Send}, {ReportRate, Send}, {PointerSpeed, Send}, {DoubleClick, Send},
                                {ScrollLines, Send}};

const char *const flowNames[] = {"show", "switch", "reset", "macros", "load"};
const char *const panelNames[] = {"macroButtons", "keys", "axes", "dpi", "lighting",
                                  "reportRate", "pointerSpeed", "doubleClick", "scrollLines", "liftOff"};
const char *const actionNames[] = {"read", "send", "refresh"};

} // namespace

QList<Step> steps(Flow flow, int model)
{
    static const QList<PlanStep> *const plans[] = {&showSteps, &switchSteps, &resetSteps, &macroSteps, &loadSteps};
    QList<Step> out;
    for (const PlanStep &step : *plans[flow]) {
        if (step.onModel0 || model != 0)
            out.append({step.panel, step.action});
    }
    return out;
}

int flowNamed(const QString &name)
{
    for (int i = 0; i < int(std::size(flowNames)); ++i) {
        if (name == QLatin1String(flowNames[i]))
            return i;
    }
    return -1;
}

QString panelName(Panel panel)
{
    return QLatin1String(panelNames[panel]);
}

QString actionName(Action action)
{
    return QLatin1String(actionNames[action]);
}

} // namespace ProfileSendPlan
