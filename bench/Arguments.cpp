#include "Arguments.h"

#include <algorithm>
#include <regex>

namespace bench {

namespace {

// The library's own flavour, so that what it runs and what is said of a filter agree.
std::regex pattern(const std::string& text) {
    return std::regex(text, std::regex::extended);
}

bool everything(const std::string& filter) {
    return filter.empty() || filter == "." || filter == "all";
}

} // namespace

std::string filterFault(const std::string& filter) {
    if (everything(filter)) return {};
    try {
        pattern(filter[0] == '-' ? filter.substr(1) : filter);
    } catch (const std::regex_error& e) {
        return e.what();
    }
    return {};
}

std::vector<std::string> filterParts(const std::string& filter) {
    if (everything(filter) || filter[0] == '-') return {};
    std::vector<std::string> parts(1);
    int depth = 0;
    bool inBracket = false;
    for (std::size_t i = 0; i < filter.size(); ++i) {
        const char c = filter[i];
        if (c == '\\' && i + 1 < filter.size()) {
            parts.back() += filter.substr(i++, 2);
            continue;
        }
        if (inBracket) {
            // "[]a]" and "[^]a]" hold a "]" of their own.
            const bool first = filter[i - 1] == '[' || (i >= 2 && filter[i - 1] == '^' && filter[i - 2] == '[');
            if (c == ']' && !first) inBracket = false;
        } else if (c == '[') {
            inBracket = true;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')') {
            --depth;
        } else if (c == '|' && depth == 0) {
            parts.emplace_back();
            continue;
        }
        parts.back() += c;
    }
    return parts;
}

bool filterChooses(const std::string& filter, const std::string& name) {
    if (everything(filter)) return true;
    if (filter[0] == '-') return !std::regex_search(name, pattern(filter.substr(1)));
    return std::regex_search(name, pattern(filter));
}

std::string argumentsFault(const std::vector<std::string>& left, const std::string& filter) {
    std::string unknown;
    for (const std::string& arg : left)
        unknown += (unknown.empty() ? "\"" : ", \"") + arg + "\"";
    if (!unknown.empty()) return "unknown argument " + unknown + ": the benchmarks take --benchmark_* flags alone";
    if (const std::string wrong = filterFault(filter); !wrong.empty())
        return "the filter \"" + filter + "\" is no pattern: " + wrong;
    return {};
}

std::vector<std::string> filterPartLines(const std::string& filter, const std::vector<std::string>& ran) {
    std::vector<std::string> lines;
    const std::vector<std::string> parts = filterParts(filter);
    if (parts.size() < 2) return lines;
    for (const std::string& part : parts) {
        const bool chose =
            std::any_of(ran.begin(), ran.end(), [&](const std::string& name) { return filterChooses(part, name); });
        lines.push_back((chose ? "FILTER PART CHOSE: " : "FILTER PART CHOSE NOTHING: ") + part);
    }
    return lines;
}

} // namespace bench
