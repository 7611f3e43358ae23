#pragma once

#include <QString>
#include <QtGlobal>

class InputHook;
class Widget;
struct CopyDataRecord;

// The tray agent's side of the input hooks: keys and buttons go on to the page's
// detectKeyboard / detectMouse, Shift+Alt+F12 brings back the hidden window, and a
// copy-data record with the warning identifier shows its text in a warning box,
// one box at a time.
namespace HookCallbacks {

inline constexpr quintptr warningIdentifier = 0x250F;

// Registers the three callbacks with the tray agent as their context.
void registerWith(InputHook &hook, Widget *widget);

void onKeyboardEvent(uchar usage, uchar keyDown, void *context);
void onMouseEvent(uchar buttonCode, uchar buttonDown, int x, int y, void *context);
void onCopyData(const CopyDataRecord *record, void *context);

// Follows Shift and Alt; true for an F12 press while both are held.
bool showWindowChord(uchar usage, bool keyDown, bool &shiftDown, bool &altDown);
// The text a record asks to show, or a null string when it asks nothing: another
// identifier, or a byte count that is not the text's own length.
QString warningText(const CopyDataRecord &record);

} // namespace HookCallbacks
