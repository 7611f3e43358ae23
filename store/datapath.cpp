#include "datapath.h"

QString dataPath(const QString &relative)
{
    return relative;
}
