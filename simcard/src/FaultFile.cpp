#include "simcard/FaultRules.h"

#include "TextFields.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace simcard {
namespace {

struct RuleError {
    std::string what;
};

std::uint32_t Number32(const std::string& what, const std::string& value) {
    auto n = text::ParseNumber(value, 0xFFFFFFFFu);
    if (!n)
        throw RuleError{what + " '" + value + "' is not a number"};
    return static_cast<std::uint32_t>(*n);
}

constexpr std::uint64_t kLongestDelayMs = 24ull * 3600 * 1000;
constexpr std::size_t kLongestAnswer = 4096;

// "0A0B..." (an even number of hexadecimal digits, "" for none) into bytes.
std::vector<std::uint8_t> AnswerBytes(const std::string& value) {
    if (value.size() % 2 != 0 || value.size() / 2 > kLongestAnswer)
        throw RuleError{"answer '" + value + "' is not an even number of hexadecimal digits (at most " +
                        std::to_string(kLongestAnswer) + " bytes)"};
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < value.size(); i += 2) {
        auto byte = text::ParseNumber("0x" + value.substr(i, 2), 0xFF);
        if (!byte || value[i] == 'x' || value[i] == 'X' || value[i + 1] == 'x' || value[i + 1] == 'X')
            throw RuleError{"answer '" + value + "' is not an even number of hexadecimal digits"};
        bytes.push_back(static_cast<std::uint8_t>(*byte));
    }
    return bytes;
}

// Reads the action at words[at...]; returns the index after it. `delay MS` may stand before another action
// or alone (the request is then answered as usual, late).
std::size_t ReadAction(const std::vector<std::string>& words, std::size_t at, FaultRule& rule) {
    if (at >= words.size())
        throw RuleError{
            "the rule has no action (fail, short, answer, mute, delay, remove, insert, suspend or resume)"};
    if (words[at] == "delay") {
        if (at + 1 >= words.size())
            throw RuleError{"delay needs a time in ms"};
        auto ms = text::ParseNumber(words[at + 1], kLongestDelayMs);
        if (!ms || *ms == 0)
            throw RuleError{"delay '" + words[at + 1] + "' is not a number of ms from 1 to " +
                            std::to_string(kLongestDelayMs)};
        rule.delayMs = static_cast<std::uint32_t>(*ms);
        at += 2;
        if (at >= words.size()) {
            rule.action = FaultAction::Pass;
            return at;
        }
        if (words[at] == "delay")
            throw RuleError{"one delay a rule"};
    }
    const std::string& action = words[at];
    if (action == "answer") {
        if (at + 1 >= words.size())
            throw RuleError{"answer needs the bytes in hexadecimal (\"\" for none)"};
        rule.action = FaultAction::Answer;
        rule.answer = AnswerBytes(words[at + 1]);
        if (at + 2 < words.size() && words[at + 2] == "written") {
            if (at + 3 >= words.size())
                throw RuleError{"written needs a byte count"};
            rule.answerWritten = Number32("byte count", words[at + 3]);
            return at + 4;
        }
        return at + 2;
    }
    if (action == "fail" || action == "short") {
        if (at + 1 >= words.size())
            throw RuleError{action + " needs a value"};
        if (action == "fail") {
            rule.action = FaultAction::Fail;
            rule.status = Number32("status", words[at + 1]);
            if (rule.status == 0)
                throw RuleError{"fail needs a non-zero status"};
        } else {
            rule.action = FaultAction::Short;
            rule.shortBytes = Number32("byte count", words[at + 1]);
        }
        return at + 2;
    }
    if (action == "remove")
        rule.action = FaultAction::Remove;
    else if (action == "insert")
        rule.action = FaultAction::Insert;
    else if (action == "suspend")
        rule.action = FaultAction::Suspend;
    else if (action == "resume")
        rule.action = FaultAction::Resume;
    else if (action == "mute")
        rule.action = FaultAction::Mute;
    else
        throw RuleError{"unknown action '" + action + "'"};
    return at + 1;
}

FaultRule ReadRule(const std::vector<std::string>& words) {
    FaultRule rule;
    const std::string& selector = words[0];
    std::size_t at = 1;
    bool timesGiven = false;
    if (selector == "at") {
        if (words.size() < 2)
            throw RuleError{"at needs a time in ms"};
        auto ms = text::ParseNumber(words[1], 1000ull * 3600 * 24 * 365);
        if (!ms)
            throw RuleError{"time '" + words[1] + "' is not a number of ms"};
        rule.afterMs = *ms;
        at = 2;
        if (at < words.size() && words[at] == "optional") {
            rule.optional = true;
            ++at;
        }
        at = ReadAction(words, at, rule);
        if (rule.delayMs != 0 || (rule.action != FaultAction::Remove && rule.action != FaultAction::Insert &&
                                  rule.action != FaultAction::Suspend && rule.action != FaultAction::Resume))
            throw RuleError{"a timed rule can only remove, insert, suspend or resume"};
    } else if (selector == "request") {
        if (words.size() < 2)
            throw RuleError{"request needs a number (1 = the first request after arming)"};
        const std::uint32_t n = Number32("request number", words[1]);
        if (n == 0)
            throw RuleError{"request numbers start at 1"};
        rule.skip = n - 1;
        at = 2;
    } else if (selector == "oid") {
        if (words.size() < 2)
            throw RuleError{"oid needs an OID"};
        rule.oid = Number32("OID", words[1]);
        rule.times = 0;
        at = 2;
    } else {
        throw RuleError{"unknown rule '" + selector + "' (request, oid or at)"};
    }
    if (!rule.afterMs) {
        for (; at < words.size(); ++at) {
            const std::string& word = words[at];
            if (word == "query" || word == "set") {
                rule.kind = word == "query" ? RequestKind::Query : RequestKind::Set;
                continue;
            }
            if (word == "optional") {
                rule.optional = true;
                continue;
            }
            auto field = text::SplitField(word);
            if (!field)
                break;
            const auto& [key, value] = *field;
            if (key == "record" || key == "item") {
                rule.subId = Number32(key, value);
            } else if (key == "nth") {
                const std::uint32_t n = Number32(key, value);
                if (n == 0)
                    throw RuleError{"nth starts at 1"};
                rule.skip = n - 1;
                if (!timesGiven)
                    rule.times = 1;
            } else if (key == "thread") {
                if (value != "ui" && value != "monitor")
                    throw RuleError{"thread is ui or monitor, not '" + value + "'"};
                rule.thread = value == "ui" ? ThreadRole::Ui : ThreadRole::Monitor;
            } else if (key == "times") {
                rule.times = value == "every" ? 0 : Number32(key, value);
                if (value != "every" && rule.times == 0)
                    throw RuleError{"times must be at least 1 (or every)"};
                timesGiven = true;
            } else {
                throw RuleError{"unknown field '" + key + "'"};
            }
        }
        at = ReadAction(words, at, rule);
        if (rule.action == FaultAction::Insert || rule.action == FaultAction::Resume)
            throw RuleError{"a request rule can only fail, short, answer, mute, delay, remove or suspend"};
    }
    if (at != words.size())
        throw RuleError{"unexpected '" + words[at] + "' after the action"};
    return rule;
}

} // namespace

const char* ThreadRoleName(ThreadRole role) {
    return role == ThreadRole::Ui ? "ui" : "monitor";
}

std::string DescribeRule(const FaultRule& rule) {
    auto hex = [](std::uint32_t v) {
        char text[16];
        std::snprintf(text, sizeof text, "0x%08X", v);
        return std::string(text);
    };
    std::string text;
    if (rule.afterMs) {
        text = "at " + std::to_string(*rule.afterMs);
    } else if (!rule.oid && !rule.kind && !rule.subId) {
        text = "request " + std::to_string(rule.skip + 1);
        if (rule.times != 1)
            text += rule.times == 0 ? " times=every" : " times=" + std::to_string(rule.times);
    } else {
        text = "oid " + (rule.oid ? hex(*rule.oid) : std::string("any"));
        if (rule.kind)
            text += *rule.kind == RequestKind::Query ? " query" : " set";
        if (rule.subId)
            text += (rule.oid && *rule.oid == oid::kConfigItem ? " item=" : " record=") + hex(*rule.subId);
        if (rule.skip)
            text += " nth=" + std::to_string(rule.skip + 1);
        if (rule.times != 0 && !(rule.skip && rule.times == 1))
            text += " times=" + std::to_string(rule.times);
        else if (rule.times == 0 && rule.skip)
            text += " times=every";
    }
    if (rule.thread)
        text += std::string(" thread=") + ThreadRoleName(*rule.thread);
    if (rule.optional)
        text += " optional";
    if (rule.delayMs != 0)
        text += " delay " + std::to_string(rule.delayMs);
    switch (rule.action) {
    case FaultAction::Fail:
        return text + " fail " + hex(rule.status);
    case FaultAction::Short:
        return text + " short " + std::to_string(rule.shortBytes);
    case FaultAction::Remove:
        return text + " remove";
    case FaultAction::Insert:
        return text + " insert";
    case FaultAction::Suspend:
        return text + " suspend";
    case FaultAction::Resume:
        return text + " resume";
    case FaultAction::Mute:
        return text + " mute";
    case FaultAction::Answer: {
        std::string bytes;
        for (std::uint8_t b : rule.answer) {
            char pair[4];
            std::snprintf(pair, sizeof pair, "%02X", b);
            bytes += pair;
        }
        text += " answer " + (bytes.empty() ? std::string("\"\"") : bytes);
        if (rule.answerWritten)
            text += " written " + std::to_string(*rule.answerWritten);
        return text;
    }
    case FaultAction::Pass:
        return text;
    }
    return text;
}

FaultLoad ParseFaultRules(const std::string& textIn, const std::string& fileName) {
    FaultLoad load;
    std::istringstream in(textIn);
    std::string line;
    int number = 0;
    std::vector<FaultRule> rules;
    while (std::getline(in, line)) {
        ++number;
        auto words = text::SplitWords(line);
        try {
            if (!words)
                throw RuleError{"a quote is not closed"};
            if (words->empty())
                continue;
            FaultRule rule = ReadRule(*words);
            rule.text = fileName + ":" + std::to_string(number) + ": ";
            for (std::size_t i = 0; i < words->size(); ++i)
                rule.text += (i ? " " : "") + (*words)[i];
            rules.push_back(rule);
        } catch (const RuleError& e) {
            load.error = fileName + ":" + std::to_string(number) + ": " + e.what;
            return load;
        }
    }
    load.rules = std::move(rules);
    load.ok = true;
    return load;
}

FaultLoad LoadFaultFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        FaultLoad load;
        load.error = path + ": cannot be opened";
        return load;
    }
    std::ostringstream content;
    content << file.rdbuf();
    return ParseFaultRules(content.str(), path);
}

} // namespace simcard
