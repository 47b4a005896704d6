#include "regfile/RegFile.h"
