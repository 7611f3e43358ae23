#include "devicelog.h"

Q_LOGGING_CATEGORY(lcDevice, "g7.device")
