#pragma once

#include "store/DemoData.h"

namespace kivaro {

// The sample browser that --demo and the screenshot run show: two windows of tabs, a week of
// history and a few suggestions, so the panel can be tried with no browser set up.
DemoData demoContent();

} // namespace kivaro
