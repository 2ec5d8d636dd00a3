#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

// Just enough JSON for the corpus manifest: null, booleans, integers, strings (with \u escapes
// and surrogate pairs), arrays and objects. Malformed text throws std::runtime_error.
class CJsonValue {
public:
    enum class EType { Null, Bool, Number, String, Array, Object };

    static CJsonValue Parse(const std::string& sText);

    EType Type() const { return m_eType; }
    bool IsNull() const { return m_eType == EType::Null; }
    bool AsBool() const;
    std::int64_t AsInt() const;
    // A string's text; "" for null, so optional manifest fields read as empty.
    std::string AsString() const;
    const std::vector<CJsonValue>& Items() const;
    // A member of an object; throws when it is missing.
    const CJsonValue& operator[](const std::string& sKey) const;

private:
    class CParser;

    EType m_eType = EType::Null;
    bool m_bValue = false;
    std::int64_t m_llNumber = 0;
    std::string m_sText;
    std::vector<CJsonValue> m_vItems;
    std::map<std::string, CJsonValue> m_mapMembers;
};
