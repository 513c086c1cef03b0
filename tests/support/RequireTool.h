#pragma once

#include <QtGlobal>

#include <gtest/gtest.h>

// A test that needs an outside program (Xvfb, Chromium) skips on a developer's machine that
// lacks it, saying why. Where CI runs (CI is set) it fails instead: the setup script installs
// every such program, so a missing one means a broken setup, not a test to pass over.
#define KIVARO_REQUIRE_TOOL(available, message)                                                    \
    do {                                                                                           \
        if (!(available)) {                                                                        \
            if (qEnvironmentVariableIsSet("CI"))                                                   \
                FAIL() << message;                                                                 \
            GTEST_SKIP() << message;                                                               \
        }                                                                                          \
    } while (false)
