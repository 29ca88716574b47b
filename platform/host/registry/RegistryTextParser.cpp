#include "RegistryTextParser.h"

#include "KeyName.h"
#include "RegistryTextFormat.h"
#include "RegistryTypeNames.h"
#include "TextEscapes.h"

#include <cstdint>
#include <map>
#include <vector>

namespace hostreg {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsControl(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F;
}

// A position in one line of text, with the error of the first thing that did not parse.
class LineReader {
public:
    explicit LineReader(const std::string& line) : m_line(line) {}

    bool AtEnd() const { return m_pos >= m_line.size(); }
    char Peek() const { return AtEnd() ? '\0' : m_line[m_pos]; }
    void SkipBlanks() {
        while (!AtEnd() && IsBlank(m_line[m_pos]))
            ++m_pos;
    }
    bool Take(char c) {
        if (Peek() != c || AtEnd())
            return false;
        ++m_pos;
        return true;
    }
    // Letters, digits, '_', '(' and ')': a type name or a data form keyword.
    std::string Word() {
        const std::size_t start = m_pos;
        while (!AtEnd() && !IsBlank(m_line[m_pos]) && m_line[m_pos] != '"')
            ++m_pos;
        return m_line.substr(start, m_pos - start);
    }

    // A double-quoted literal with the escapes \\ \" \0 \xHH.
    bool Quoted(std::vector<std::uint8_t>* bytes, std::string* problem) {
        if (!Take('"')) {
            *problem = "expected a quoted string";
            return false;
        }
        for (;;) {
            if (AtEnd()) {
                *problem = "string not closed by a quote";
                return false;
            }
            const char c = m_line[m_pos++];
            if (c == '"')
                return true;
            if (IsControl(c)) {
                *problem = "control character in a string (write it as \\xHH)";
                return false;
            }
            if (c != '\\') {
                bytes->push_back(static_cast<std::uint8_t>(c));
                continue;
            }
            const char e = Peek();
            if (AtEnd()) {
                *problem = "string not closed by a quote";
                return false;
            }
            ++m_pos;
            if (e == '\\' || e == '"') {
                bytes->push_back(static_cast<std::uint8_t>(e));
            } else if (e == '0') {
                bytes->push_back(0);
            } else if (e == 'x') {
                const int high = m_pos < m_line.size() ? HexDigitValue(m_line[m_pos]) : -1;
                const int low = m_pos + 1 < m_line.size() ? HexDigitValue(m_line[m_pos + 1]) : -1;
                if (high < 0 || low < 0) {
                    *problem = "\\x must be followed by two hexadecimal digits";
                    return false;
                }
                bytes->push_back(static_cast<std::uint8_t>(high * 16 + low));
                m_pos += 2;
            } else {
                *problem = std::string("unknown escape \\") + (IsControl(e) ? '?' : e) + " in a string";
                return false;
            }
        }
    }

private:
    const std::string& m_line;
    std::size_t m_pos = 0;
};

bool ParseNumber(const std::string& word, std::uint32_t* number) {
    std::uint64_t value = 0;
    std::size_t i = 0;
    unsigned base = 10;
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        base = 16;
        i = 2;
    }
    if (i >= word.size())
        return false;
    for (; i < word.size(); ++i) {
        const int digit = HexDigitValue(word[i]);
        if (digit < 0 || static_cast<unsigned>(digit) >= base)
            return false;
        value = value * base + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFFu)
            return false;
    }
    *number = static_cast<std::uint32_t>(value);
    return true;
}

class Parser {
public:
    Parser(const std::string& source, RegistryTree* tree) : m_source(source), m_tree(tree) {}

    bool Run(const std::string& text, std::string* error) {
        std::size_t start = 0;
        bool sawHeader = false;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            ++m_lineNumber;
            std::string line = text.substr(start, end - start);
            start = end + 1;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (!Line(line, &sawHeader))
                return Fail(error);
        }
        if (!sawHeader) {
            m_lineNumber = m_lineNumber == 0 ? 1 : m_lineNumber;
            m_problem = std::string("no header line '") + kRegistryFileHeader + "'";
            return Fail(error);
        }
        return true;
    }

private:
    bool Fail(std::string* error) const {
        if (error != nullptr)
            *error = m_source + ':' + std::to_string(m_lineNumber) + ": " + m_problem;
        return false;
    }

    bool Line(const std::string& line, bool* sawHeader) {
        std::size_t first = 0;
        while (first < line.size() && IsBlank(line[first]))
            ++first;
        std::size_t last = line.size();
        while (last > first && IsBlank(line[last - 1]))
            --last;
        const std::string content = line.substr(first, last - first);
        if (content.empty() || content[0] == '#')
            return true;
        if (!*sawHeader) {
            if (content != kRegistryFileHeader) {
                m_problem = std::string("expected the header line '") + kRegistryFileHeader + "'";
                return false;
            }
            *sawHeader = true;
            return true;
        }
        if (content[0] == '[')
            return KeyLine(content);
        if (content[0] == '"')
            return ValueLine(content);
        m_problem = "expected a key line [...] or a value line \"name\" = type data";
        return false;
    }

    bool KeyLine(const std::string& content) {
        if (content.back() != ']' || content.size() < 2) {
            m_problem = "key line does not end with ]";
            return false;
        }
        const std::string path = content.substr(1, content.size() - 2);
        const std::size_t slash = path.find('\\');
        std::shared_ptr<RegistryKey> key = m_tree->Root(path.substr(0, slash));
        if (key == nullptr) {
            m_problem =
                "unknown root key '" + path.substr(0, slash) + "' (HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER)";
            return false;
        }
        std::string folded = FoldName(key->Name());
        std::size_t depth = 0;
        std::size_t start = slash;
        while (start != std::string::npos) {
            const std::size_t next = path.find('\\', start + 1);
            const std::string escaped =
                path.substr(start + 1, next == std::string::npos ? std::string::npos : next - start - 1);
            std::string name;
            if (!KeyName(escaped, &name))
                return false;
            if (++depth > kMaxKeyDepth) {
                m_problem = "key nested deeper than " + std::to_string(kMaxKeyDepth) + " levels";
                return false;
            }
            bool created = false;
            key = key->AddSubkey(name, &created);
            folded += '\\' + FoldName(name);
            start = next;
        }
        auto seen = m_keyLines.emplace(folded, m_lineNumber);
        if (!seen.second) {
            m_problem = "key [" + EscapeKeyPath(key->Path()) + "] given twice (first at line " +
                        std::to_string(seen.first->second) + ")";
            return false;
        }
        m_key = std::move(key);
        return true;
    }

    bool KeyName(const std::string& escaped, std::string* name) {
        if (escaped.empty()) {
            m_problem = "empty key name in the path";
            return false;
        }
        for (std::size_t i = 0; i < escaped.size(); ++i) {
            char c = escaped[i];
            if (IsControl(c)) {
                m_problem = "control character in a key name (write it as %HH)";
                return false;
            }
            if (c == '%') {
                const int high = i + 1 < escaped.size() ? HexDigitValue(escaped[i + 1]) : -1;
                const int low = i + 2 < escaped.size() ? HexDigitValue(escaped[i + 2]) : -1;
                if (high < 0 || low < 0) {
                    m_problem = "% in a key name must be followed by two hexadecimal digits";
                    return false;
                }
                c = static_cast<char>(high * 16 + low);
                if (c == '\0' || c == '\\') {
                    m_problem = "a key name cannot hold a zero byte or a backslash";
                    return false;
                }
                i += 2;
            }
            name->push_back(c);
        }
        return true;
    }

    bool ValueLine(const std::string& content) {
        if (m_key == nullptr) {
            m_problem = "value line before the first key line";
            return false;
        }
        LineReader reader(content);
        std::vector<std::uint8_t> nameBytes;
        if (!reader.Quoted(&nameBytes, &m_problem))
            return false;
        const std::string name(nameBytes.begin(), nameBytes.end());
        if (name.find('\0') != std::string::npos) {
            m_problem = "a value name cannot hold a zero byte";
            return false;
        }
        if (const RegistryValue* existing = m_key->FindValue(name)) {
            m_problem = "value " + QuoteBytes(existing->name) + " given twice in this key";
            return false;
        }
        reader.SkipBlanks();
        if (!reader.Take('=')) {
            m_problem = "expected = after the value name";
            return false;
        }
        reader.SkipBlanks();
        const std::string typeWord = reader.Word();
        std::uint32_t type = 0;
        if (typeWord.empty()) {
            m_problem = "missing the value type after =";
            return false;
        }
        if (!ParseTypeName(typeWord, &type)) {
            m_problem = "unknown value type '" + typeWord + "'";
            return false;
        }
        reader.SkipBlanks();
        std::vector<std::uint8_t> data;
        if (!Data(&reader, &data))
            return false;
        reader.SkipBlanks();
        if (!reader.AtEnd()) {
            m_problem = "unexpected text after the value's data";
            return false;
        }
        m_key->SetValue(name, type, std::move(data));
        return true;
    }

    bool Data(LineReader* reader, std::vector<std::uint8_t>* data) {
        if (reader->Peek() == '"')
            return reader->Quoted(data, &m_problem);
        const std::string word = reader->Word();
        if (word == "hex")
            return HexBytes(reader, data);
        std::uint32_t number = 0;
        if (word.empty() || !ParseNumber(word, &number)) {
            m_problem = word.empty() ? "missing data after the type"
                                     : "bad data '" + word +
                                           "' (a quoted string, hex bytes or a number "
                                           "from 0 to 4294967295)";
            return false;
        }
        for (int shift = 0; shift < 32; shift += 8)
            data->push_back(static_cast<std::uint8_t>(number >> shift));
        return true;
    }

    bool HexBytes(LineReader* reader, std::vector<std::uint8_t>* data) {
        for (;;) {
            reader->SkipBlanks();
            if (reader->AtEnd())
                return true;
            const std::string word = reader->Word();
            if (word.size() != 2 || HexDigitValue(word[0]) < 0 || HexDigitValue(word[1]) < 0) {
                m_problem = "bad hex byte '" + word + "' (two hexadecimal digits)";
                return false;
            }
            data->push_back(static_cast<std::uint8_t>(HexDigitValue(word[0]) * 16 + HexDigitValue(word[1])));
        }
    }

    const std::string& m_source;
    RegistryTree* m_tree;
    std::size_t m_lineNumber = 0;
    std::string m_problem;
    std::shared_ptr<RegistryKey> m_key;
    std::map<std::string, std::size_t> m_keyLines; // folded full path -> line of its key line
};

} // namespace

bool ParseRegistryText(const std::string& text, const std::string& source, RegistryTree* tree,
                       std::string* error) {
    return Parser(source, tree).Run(text, error);
}

} // namespace hostreg
