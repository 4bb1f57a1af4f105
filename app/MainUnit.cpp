#include "app/MainUnit.h"
