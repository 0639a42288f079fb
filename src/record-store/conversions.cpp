#include "record-store/conversions.h"
