#pragma once

#include <QLoggingCategory>

// Everything the device layer says on the debug output; the command line hides its debug texts.
Q_DECLARE_LOGGING_CATEGORY(lcDevice)
