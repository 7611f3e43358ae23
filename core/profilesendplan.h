#pragma once

#include <QList>
#include <QString>

// Which panels a whole-profile flow reads or sends, and in which order. The page walks a plan
// over its panels and the command line over ProfileSender's steps, so the two cannot drift.
namespace ProfileSendPlan {

enum Flow {
    Show,     // re-read without sending: start-up, a profile chosen in the list
    Switch,   // the chosen profile sent when the list closes
    Reset,    // the factory settings sent after a reset
    Macros,   // the macro buttons' macros alone: a Load whose file was not taken
    Load      // the macros, then the panels, after a file was loaded into the profile
};

enum Panel { MacroButtons, Keys, Axes, Dpi, Lighting, ReportRate, PointerSpeed, DoubleClick, ScrollLines, LiftOff };
enum Action { Read, Send, Refresh };

struct Step
{
    Panel panel;
    Action action;
};

// The flow's steps for catalogue model `model` (model 0 has no lift-off setting to send).
QList<Step> steps(Flow flow, int model);

// The names the page knows flows and panels by; -1 for a name outside the lists.
int flowNamed(const QString &name);
QString panelName(Panel panel);
QString actionName(Action action);

} // namespace ProfileSendPlan
