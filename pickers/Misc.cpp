#include "pickers/Misc.h"
