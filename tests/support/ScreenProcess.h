// Tests of what a given screen size does: the test runs again in a child process
// of this program whose offscreen screen has that size.
#pragma once

#include <QSize>
#include <QString>

#include <string>

// The size the child's screen was asked to have; empty in a process of its own.
QString AskedScreenSize();

// Runs the one test (Suite.Name) in a child process on a screen of the size, its
// configuration written into the folder, and expects it to pass.
void ExpectPassesOnScreen(const QSize& size, const std::string& test, const std::string& folder);
