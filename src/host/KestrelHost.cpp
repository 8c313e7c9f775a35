#include "host/KestrelHost.h"
