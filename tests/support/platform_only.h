// Tests of what only Linux has, skipped on Windows saying why: Wine and Proton prefixes,
// case-sensitive file names, symbolic links made without privileges, the freedesktop trash, and
// the file system's limit on one name (Windows limits the whole path instead).
#pragma once

#include <gtest/gtest.h>

#ifdef _WIN32
#define QH_LINUX_ONLY(why) GTEST_SKIP() << "Linux only: " << (why)
#else
#define QH_LINUX_ONLY(why) static_cast<void>(0)
#endif
