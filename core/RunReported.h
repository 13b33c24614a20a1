#pragma once
#include <functional>

// Runs a handler of the main loop and reports an error that leaves it in a warning
// window, as the application's default error report.
void RunReported(const std::function<void()> &handler);
