// The form wizard's dialogs on the offscreen platform.
#include <gtest/gtest.h>

#include "FormwardenDialogs.h"
