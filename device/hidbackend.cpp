#include "hidbackend.h"
