// Precompiled for the test programs: the shared header and GoogleTest, which every test
// includes.
#pragma once
#include "qx_pch.h"
#ifdef __cplusplus
#include <gtest/gtest.h>
#endif
