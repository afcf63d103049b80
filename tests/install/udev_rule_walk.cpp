#include "tests/install/udev_rule_walk.h"

#include <fnmatch.h>

#include <regex>
#include <sstream>

namespace {

struct RuleKey {
    std::string name;  // ACTION, ATTRS, ENV, ...
    std::string attribute;
    std::string op;
    std::string value;
};

struct Rule {
    int line = 0;
    std::vector<RuleKey> keys;
};

bool isMatchOperator(const std::string& op) {
    return op == "==" || op == "!=";
}

// udev patterns: shell globs, alternatives separated by '|'.
bool matchesPattern(const std::string& value, const std::string& pattern) {
    std::stringstream alternatives(pattern);
    std::string alternative;
    while (std::getline(alternatives, alternative, '|')) {
        if (::fnmatch(alternative.c_str(), value.c_str(), 0) == 0) {
            return true;
        }
    }
    return false;
}

std::vector<Rule> parseRules(const std::string& text, std::vector<std::string>& problems) {
    // KEY{attribute} op "value", followed by a comma or the end of the line.
    static const std::regex kKey(
        R"re(\s*([A-Z_]+)(?:\{([^}]*)\})?\s*(==|!=|\+=|-=|:=|=)\s*"([^"]*)"\s*,?)re");
    std::vector<Rule> rules;
    std::stringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (line.find_first_not_of(" \t") == std::string::npos ||
            line[line.find_first_not_of(" \t")] == '#') {
            continue;
        }
        Rule rule{number, {}};
        auto at = line.cbegin();
        std::smatch key;
        while (at != line.cend() && std::regex_search(at, line.cend(), key, kKey,
                                                      std::regex_constants::match_continuous)) {
            rule.keys.push_back({key[1].str(), key[2].str(), key[3].str(), key[4].str()});
            at = key[0].second;
        }
        if (at != line.cend() &&
            std::string(at, line.cend()).find_first_not_of(" \t") != std::string::npos) {
            problems.push_back("line " + std::to_string(number) + " does not parse");
        }
        rules.push_back(std::move(rule));
    }
    return rules;
}

// The event's value for a match key, or false for a key this walk does not know.
bool eventValue(const RuleKey& key, const UdevEvent& event, std::string& value) {
    if (key.name == "ACTION") {
        value = event.action;
    } else if (key.name == "SUBSYSTEM") {
        value = event.subsystem;
    } else if (key.name == "DRIVERS") {
        value = event.parentDriver;
    } else if (key.name == "ATTRS") {
        auto found = event.usbAttributes.find(key.attribute);
        value = found == event.usbAttributes.end() ? "" : found->second;
    } else {
        return false;
    }
    return true;
}

bool ruleMatches(const Rule& rule, const UdevEvent& event, std::vector<std::string>& problems) {
    for (const RuleKey& key : rule.keys) {
        if (!isMatchOperator(key.op)) {
            continue;
        }
        std::string value;
        if (!eventValue(key, event, value)) {
            problems.push_back("line " + std::to_string(rule.line) + ": unknown match " + key.name);
            return false;
        }
        if (matchesPattern(value, key.value) != (key.op == "==")) {
            return false;
        }
    }
    return true;
}

// Applies a matching rule's assignments; returns the label it jumps to, if any.
std::string applyRule(const Rule& rule, UdevOutcome& outcome) {
    std::string jump;
    for (const RuleKey& key : rule.keys) {
        if (isMatchOperator(key.op) || key.name == "LABEL") {
            continue;
        }
        if (key.name == "ENV" && (key.op == "=" || key.op == ":=")) {
            outcome.properties[key.attribute] = key.value;
        } else if (key.name == "TAG" && key.op == "+=") {
            outcome.tags.insert(key.value);
        } else if (key.name == "ATTR" && key.op == "=") {
            outcome.writtenAttributes[key.attribute] = key.value;
        } else if (key.name == "GOTO" && key.op == "=") {
            jump = key.value;
        } else {
            outcome.problems.push_back("line " + std::to_string(rule.line) +
                                       ": unknown assignment " + key.name + key.op);
        }
    }
    return jump;
}

std::string labelOf(const Rule& rule) {
    for (const RuleKey& key : rule.keys) {
        if (key.name == "LABEL") {
            return key.value;
        }
    }
    return "";
}

}  // namespace

UdevOutcome walkUdevRules(const std::string& rulesText, const UdevEvent& event) {
    UdevOutcome outcome;
    const std::vector<Rule> rules = parseRules(rulesText, outcome.problems);
    for (std::size_t i = 0; i < rules.size(); ++i) {
        if (!ruleMatches(rules[i], event, outcome.problems)) {
            continue;
        }
        const std::string jump = applyRule(rules[i], outcome);
        if (jump.empty()) {
            continue;
        }
        // udev jumps forward only.
        std::size_t target = i + 1;
        while (target < rules.size() && labelOf(rules[target]) != jump) {
            ++target;
        }
        if (target == rules.size()) {
            outcome.problems.push_back("line " + std::to_string(rules[i].line) + ": no LABEL \"" +
                                       jump + "\" after it");
            break;
        }
        i = target;  // the label itself holds no keys to apply
    }
    return outcome;
}
