#include <gtest/gtest.h>
#include "model/axes.h"
TEST(Placeholder, Builds) { SUCCEED(); }
