#pragma once
#include <string>
#include <vector>

// What the core reported through the recording test platform.
struct ReportedError {
    std::string caption;
    std::string text;
    unsigned icon;
};

extern std::vector<ReportedError> g_reportedErrors;
