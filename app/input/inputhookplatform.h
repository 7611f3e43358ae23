#pragma once

class QCoreApplication;

// What each platform provides beneath InputHook: the hooks themselves and the way
// copy-data messages arrive. One implementation is compiled per platform.
namespace InputHookPlatform {

bool install();
void uninstall();
void receiveCopyData(QCoreApplication *application);

} // namespace InputHookPlatform
