#include "record-store/password_digest.h"
