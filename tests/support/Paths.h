#pragma once

#include <QString>

// Where the checkout and the built programs are. Only Paths.cpp is compiled with these absolute
// paths, so every other test file compiles the same in any checkout and a shared compiler cache
// serves them all.
namespace kivaro::testing {

// A file of tests/fixtures.
QString fixturePath(const QString& name);
// A file of the checkout, by its path from the top.
QString sourcePath(const QString& relative);
// The built kivaro-query and kivaro programs.
QString queryToolPath();
QString programPath();

} // namespace kivaro::testing
