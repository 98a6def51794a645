// The form wizard's sheet on the offscreen platform.
#include <gtest/gtest.h>

#include "FormwardenPages.h"
