#include "CJsonValue.h"

#include "platform/shelllink/MLinkText.h"

#include <stdexcept>

class CJsonValue::CParser {
public:
    explicit CParser(const std::string& sText) : m_sText(sText) {}

    CJsonValue Document() {
        CJsonValue oValue = Value();
        SkipSpace();
        if (m_n != m_sText.size()) {
            Fail("text after the value");
        }
        return oValue;
    }

private:
    [[noreturn]] void Fail(const std::string& sWhat) const {
        throw std::runtime_error("JSON: " + sWhat + " at " + std::to_string(m_n));
    }
    void SkipSpace() {
        while (m_n < m_sText.size() &&
               std::string(" \t\r\n").find(m_sText[m_n]) != std::string::npos) {
            ++m_n;
        }
    }
    char Next() {
        SkipSpace();
        if (m_n >= m_sText.size()) {
            Fail("unexpected end");
        }
        return m_sText[m_n];
    }
    void Expect(char c) {
        if (Next() != c) {
            Fail(std::string("expected '") + c + "'");
        }
        ++m_n;
    }
    bool Literal(const std::string& sWord) {
        if (m_sText.compare(m_n, sWord.size(), sWord) == 0) {
            m_n += sWord.size();
            return true;
        }
        return false;
    }

    CJsonValue Value() {
        CJsonValue oValue;
        const char c = Next();
        if (c == '{') {
            oValue.m_eType = EType::Object;
            ++m_n;
            if (Next() == '}') {
                ++m_n;
                return oValue;
            }
            do {
                const std::string sKey = String();
                Expect(':');
                oValue.m_mapMembers[sKey] = Value();
            } while (Next() == ',' && ++m_n);
            Expect('}');
        } else if (c == '[') {
            oValue.m_eType = EType::Array;
            ++m_n;
            if (Next() == ']') {
                ++m_n;
                return oValue;
            }
            do {
                oValue.m_vItems.push_back(Value());
            } while (Next() == ',' && ++m_n);
            Expect(']');
        } else if (c == '"') {
            oValue.m_eType = EType::String;
            oValue.m_sText = String();
        } else if (Literal("null")) {
        } else if (Literal("true")) {
            oValue.m_eType = EType::Bool;
            oValue.m_bValue = true;
        } else if (Literal("false")) {
            oValue.m_eType = EType::Bool;
        } else {
            oValue.m_eType = EType::Number;
            std::size_t nUsed = 0;
            try {
                oValue.m_llNumber = std::stoll(m_sText.substr(m_n, 24), &nUsed);
            } catch (const std::exception&) {
                Fail("bad value");
            }
            m_n += nUsed;
        }
        return oValue;
    }

    unsigned Hex4() {
        if (m_n + 4 > m_sText.size()) {
            Fail("short \\u escape");
        }
        const unsigned uValue =
            static_cast<unsigned>(std::stoul(m_sText.substr(m_n, 4), nullptr, 16));
        m_n += 4;
        return uValue;
    }

    std::string String() {
        Expect('"');
        std::string sResult;
        while (true) {
            if (m_n >= m_sText.size()) {
                Fail("unterminated string");
            }
            const char c = m_sText[m_n++];
            if (c == '"') {
                return sResult;
            }
            if (c != '\\') {
                sResult += c;
                continue;
            }
            const char cEscape = m_sText.at(m_n++);
            switch (cEscape) {
            case 'n':
                sResult += '\n';
                break;
            case 't':
                sResult += '\t';
                break;
            case 'r':
                sResult += '\r';
                break;
            case 'b':
                sResult += '\b';
                break;
            case 'f':
                sResult += '\f';
                break;
            case 'u': {
                char32_t cCode = Hex4();
                if (cCode >= 0xD800 && cCode <= 0xDBFF && Literal("\\u")) {
                    const char32_t cLow = Hex4();
                    cCode = 0x10000 + ((cCode - 0xD800) << 10) + (cLow - 0xDC00);
                }
                MLinkText::AppendUtf8(sResult, cCode);
                break;
            }
            default:
                sResult += cEscape; // \" \\ \/
            }
        }
    }

    const std::string& m_sText;
    std::size_t m_n = 0;
};

CJsonValue CJsonValue::Parse(const std::string& sText) {
    return CParser(sText).Document();
}

bool CJsonValue::AsBool() const {
    if (m_eType != EType::Bool) {
        throw std::runtime_error("JSON: not a boolean");
    }
    return m_bValue;
}

std::int64_t CJsonValue::AsInt() const {
    if (m_eType != EType::Number) {
        throw std::runtime_error("JSON: not a number");
    }
    return m_llNumber;
}

std::string CJsonValue::AsString() const {
    if (m_eType != EType::String && m_eType != EType::Null) {
        throw std::runtime_error("JSON: not a string");
    }
    return m_sText;
}

const std::vector<CJsonValue>& CJsonValue::Items() const {
    return m_vItems;
}

const CJsonValue& CJsonValue::operator[](const std::string& sKey) const {
    const auto it = m_mapMembers.find(sKey);
    if (it == m_mapMembers.end()) {
        throw std::runtime_error("JSON: no member " + sKey);
    }
    return it->second;
}
