#include "app/journal/CJournalIndex.h"

#include "app/core/MDayfold.h"
#include "app/journal/CJournalScan.h"
#include "app/repository/CShortcut.h"
#include "app/repository/CShortcutCache.h"
#include "app/views/CFavorites.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/shell/MCaseFold.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace {
constexpr std::uint32_t NotFound = static_cast<std::uint32_t>(-1);
// Words of a query that count; a longer text is cut there.
constexpr size_t MaxWords = 64;

// The words of a folded query: separated by blanks and control characters, each once,
// longest first (the longest is the rarest, so it is looked for first).
std::vector<std::string> Words(const std::string& sFolded) {
    std::vector<std::string> vWords;
    std::string sWord;
    for (size_t n = 0; n <= sFolded.size(); ++n) {
        const auto u = n < sFolded.size() ? static_cast<unsigned char>(sFolded[n]) : 0;
        if (u > 0x20 && u != 0x7F) {
            sWord += static_cast<char>(u);
            continue;
        }
        if (!sWord.empty() && std::find(vWords.begin(), vWords.end(), sWord) == vWords.end()) {
            vWords.push_back(sWord);
        }
        sWord.clear();
    }
    std::stable_sort(vWords.begin(), vWords.end(), [](const std::string& a, const std::string& b) {
        return a.size() > b.size();
    });
    if (vWords.size() > MaxWords) {
        vWords.resize(MaxWords);
    }
    return vWords;
}

// A plain search (the first letter by memchr, then a compare): over the short text of one
// entry, and again and again over the whole text, it costs no set-up per call.
bool Holds(const char* pText, size_t nLength, const std::string& sWord) {
    return std::string_view(pText, nLength).find(sWord) != std::string_view::npos;
}
} // namespace

// One index: the entries, their folded text and the type table. Built on the building thread
// and owned by one thread at a time.
class CJournalIndex::CData {
public:
    struct SEntry {
        std::string sName;
        std::string sFolder;
        std::string sTargetFile;
        std::string sShortcutFile;
        std::int64_t llLastUsed = 0;     // local seconds of the latest copy's time
        std::vector<std::int32_t> vDays; // day numbers of the day folders, ascending
        std::uint32_t nType = 0;
        bool bRemoved = false;
    };

    CData() { m_vStart.push_back(0); }

    // Counts one copy; sType is the type's description, or, while the types are pending, the
    // extension that will give it.
    void Add(const SJournalCopy& oCopy, const std::string& sType);
    // Drops the entries whose full path fnWhich picks.
    void Remove(const std::function<bool(const std::string&)>& fnWhich);
    // Turns the extensions into descriptions.
    void ResolveTypes(CShortcutCache& oCache);
    std::uint32_t Find(const SJournalCopy& oCopy);
    SJournalDocument Document(std::uint32_t nEntry) const;
    std::vector<std::uint32_t> Query(const std::vector<std::string>& vWords) const;

    std::int32_t Live() const { return m_lLive; }
    // The order of the results: latest use first, then by name, then by full path.
    bool Before(std::uint32_t a, std::uint32_t b) const {
        const SEntry& oA = m_vEntries[a];
        const SEntry& oB = m_vEntries[b];
        if (oA.llLastUsed != oB.llLastUsed) {
            return oA.llLastUsed > oB.llLastUsed;
        }
        if (oA.sName != oB.sName) {
            return oA.sName < oB.sName;
        }
        if (oA.sTargetFile != oB.sTargetFile) {
            return oA.sTargetFile < oB.sTargetFile;
        }
        return a < b;
    }

    bool m_bTypesPending = false;
    std::vector<CJournalScan::SFailure> m_vFailures;
    std::int32_t m_lFailures = 0;
    std::string m_sBuildError;

private:
    std::uint32_t TypeId(const std::string& sType);
    std::uint32_t FindByKeys(const SJournalCopy& oCopy) const;

    std::vector<SEntry> m_vEntries;
    // Entry i's folded name and folder, each ended by a zero byte, lie from m_vStart[i] to
    // m_vStart[i + 1]. No word holds a zero byte, so none matches across two fields.
    std::string m_sText;
    std::vector<std::uint32_t> m_vStart;
    std::vector<std::string> m_vTypes;
    std::vector<std::string> m_vFoldedTypes;
    std::unordered_map<std::string, std::uint32_t> m_colTypes;
    // The identities of the entries, as the Favorites store keys its records.
    std::unordered_map<std::string, std::uint32_t> m_colKeys;
    // A copy's target, folder and names as read -> its entry.
    std::unordered_map<std::string, std::uint32_t> m_colFound;
    std::int32_t m_lLive = 0;
};

std::uint32_t CJournalIndex::CData::TypeId(const std::string& sType) {
    const auto it = m_colTypes.find(sType);
    if (it != m_colTypes.end()) {
        return it->second;
    }
    const auto nId = static_cast<std::uint32_t>(m_vTypes.size());
    m_vTypes.push_back(sType);
    m_vFoldedTypes.push_back(MCaseFold::Fold(sType));
    m_colTypes.emplace(sType, nId);
    return nId;
}

// The first entry that any of the copy's identities names, as the Favorites store finds a
// record for a shortcut.
std::uint32_t CJournalIndex::CData::FindByKeys(const SJournalCopy& oCopy) const {
    std::uint32_t nFound = NotFound;
    const auto Consider = [&](const std::string& sKey) {
        const auto it = m_colKeys.find(sKey);
        if (it != m_colKeys.end() && it->second < nFound) {
            nFound = it->second;
        }
    };
    if (oCopy.sTargetFile.empty()) {
        Consider(CFavorites::NameKey(oCopy.sShortcutName));
        return nFound;
    }
    Consider(CFavorites::TargetKey(oCopy.sTargetFile));
    if (!oCopy.sWorkingDirectory.empty() || !oCopy.sTargetFileName.empty()) {
        Consider(CFavorites::IdentityKey(oCopy.sWorkingDirectory, oCopy.sTargetFileName));
    }
    return nFound;
}

std::uint32_t CJournalIndex::CData::Find(const SJournalCopy& oCopy) {
    std::string sFields = oCopy.sTargetFile;
    sFields += '\0';
    sFields += oCopy.sWorkingDirectory;
    sFields += '\0';
    sFields += oCopy.sTargetFileName;
    if (oCopy.sTargetFile.empty()) {
        sFields += '\0';
        sFields += oCopy.sShortcutName;
    }
    const auto it = m_colFound.find(sFields);
    if (it != m_colFound.end()) {
        return it->second;
    }
    const std::uint32_t nFound = FindByKeys(oCopy);
    if (nFound != NotFound) {
        m_colFound.emplace(std::move(sFields), nFound);
    }
    return nFound;
}

void CJournalIndex::CData::Add(const SJournalCopy& oCopy, const std::string& sType) {
    const std::int32_t lDay = CJournalScan::DayNumber(oCopy.dDay);
    const std::int64_t llUsed = oCopy.dModified.LocalSeconds();
    const std::uint32_t nFound = Find(oCopy);
    if (nFound != NotFound) {
        SEntry& oEntry = m_vEntries[nFound];
        const auto itDay = std::lower_bound(oEntry.vDays.begin(), oEntry.vDays.end(), lDay);
        if (itDay == oEntry.vDays.end() || *itDay != lDay) {
            oEntry.vDays.insert(itDay, lDay);
        }
        if (llUsed > oEntry.llLastUsed ||
            (llUsed == oEntry.llLastUsed && oCopy.sShortcutFile > oEntry.sShortcutFile)) {
            oEntry.llLastUsed = llUsed;
            oEntry.sShortcutFile = oCopy.sShortcutFile;
            oEntry.nType = TypeId(sType);
        }
        return;
    }
    const auto nEntry = static_cast<std::uint32_t>(m_vEntries.size());
    SEntry oEntry;
    oEntry.sName = oCopy.sName;
    oEntry.sFolder = oCopy.sFolder;
    oEntry.sTargetFile = oCopy.sTargetFile;
    oEntry.sShortcutFile = oCopy.sShortcutFile;
    oEntry.llLastUsed = llUsed;
    oEntry.vDays.push_back(lDay);
    oEntry.nType = TypeId(sType);
    m_sText += MCaseFold::Fold(oEntry.sName);
    m_sText += '\0';
    m_sText += MCaseFold::Fold(oEntry.sFolder);
    m_sText += '\0';
    m_vStart.push_back(static_cast<std::uint32_t>(m_sText.size()));
    m_vEntries.push_back(std::move(oEntry));
    ++m_lLive;
    // Known from now on as the Favorites store knows the record it would make.
    if (!oCopy.sWorkingDirectory.empty() || !oCopy.sTargetFileName.empty()) {
        m_colKeys.emplace(CFavorites::IdentityKey(oCopy.sWorkingDirectory, oCopy.sTargetFileName),
                          nEntry);
    }
    if (oCopy.sTargetFileName.empty()) {
        m_colKeys.emplace(CFavorites::NameKey(oCopy.sShortcutName), nEntry);
    }
    m_colFound.clear();
}

void CJournalIndex::CData::Remove(const std::function<bool(const std::string&)>& fnWhich) {
    bool bRemoved = false;
    for (SEntry& oEntry : m_vEntries) {
        if (!oEntry.bRemoved && fnWhich(oEntry.sTargetFile)) {
            oEntry.bRemoved = true;
            --m_lLive;
            bRemoved = true;
        }
    }
    if (bRemoved) {
        std::erase_if(m_colKeys,
                      [this](const auto& oKey) { return m_vEntries[oKey.second].bRemoved; });
        m_colFound.clear();
    }
}

void CJournalIndex::CData::ResolveTypes(CShortcutCache& oCache) {
    if (!m_bTypesPending) {
        return;
    }
    const std::vector<std::string> vExtensions = std::move(m_vTypes);
    m_vTypes.clear();
    m_vFoldedTypes.clear();
    m_colTypes.clear();
    std::vector<std::uint32_t> vIds;
    vIds.reserve(vExtensions.size());
    for (const std::string& sExtension : vExtensions) {
        vIds.push_back(TypeId(CJournalScan::TargetClass(sExtension, oCache)));
    }
    for (SEntry& oEntry : m_vEntries) {
        oEntry.nType = vIds[oEntry.nType];
    }
    m_bTypesPending = false;
}

SJournalDocument CJournalIndex::CData::Document(std::uint32_t nEntry) const {
    const SEntry& oEntry = m_vEntries[nEntry];
    SJournalDocument oDocument;
    oDocument.sName = oEntry.sName;
    oDocument.sFolder = oEntry.sFolder;
    oDocument.sType = m_vTypes[oEntry.nType];
    oDocument.sTargetFile = oEntry.sTargetFile;
    oDocument.sShortcutFile = oEntry.sShortcutFile;
    oDocument.lDaysUsed = static_cast<std::int32_t>(oEntry.vDays.size());
    oDocument.dLastUsed = CDateTime::FromLocalSeconds(oEntry.llLastUsed);
    return oDocument;
}

std::vector<std::uint32_t>
CJournalIndex::CData::Query(const std::vector<std::string>& vWords) const {
    std::vector<std::uint32_t> vMatches;
    const size_t nWords = vWords.size();
    const std::uint64_t ullAll = nWords == 64 ? ~0ULL : (1ULL << nWords) - 1;
    // Which words each type holds: a type is one string, whatever the number of entries.
    std::vector<std::uint64_t> vTypeWords(m_vFoldedTypes.size(), 0);
    std::uint64_t ullInSomeType = 0;
    for (size_t t = 0; t < m_vFoldedTypes.size(); ++t) {
        for (size_t w = 0; w < nWords; ++w) {
            if (m_vFoldedTypes[t].find(vWords[w]) != std::string::npos) {
                vTypeWords[t] |= 1ULL << w;
            }
        }
        ullInSomeType |= vTypeWords[t];
    }
    const auto Matches = [&](std::uint32_t nEntry, std::uint64_t ullFound) {
        const char* pText = m_sText.data() + m_vStart[nEntry];
        const size_t nLength = m_vStart[nEntry + 1] - m_vStart[nEntry];
        ullFound |= vTypeWords[m_vEntries[nEntry].nType];
        for (size_t w = 0; w < nWords && ullFound != ullAll; ++w) {
            if ((ullFound & (1ULL << w)) == 0) {
                if (!Holds(pText, nLength, vWords[w])) {
                    return false;
                }
                ullFound |= 1ULL << w;
            }
        }
        return true;
    };

    // The longest word that no type holds must lie in the text of every entry that matches:
    // one pass over the whole text finds those entries.
    size_t nAnchor = nWords;
    for (size_t w = 0; w < nWords; ++w) {
        if ((ullInSomeType & (1ULL << w)) == 0) {
            nAnchor = w;
            break;
        }
    }
    const auto nEntries = static_cast<std::uint32_t>(m_vEntries.size());
    if (nAnchor == nWords) {
        for (std::uint32_t n = 0; n < nEntries; ++n) {
            if (!m_vEntries[n].bRemoved && Matches(n, 0)) {
                vMatches.push_back(n);
            }
        }
        return vMatches;
    }
    const std::string& sAnchor = vWords[nAnchor];
    const std::string_view sText(m_sText);
    size_t nFrom = 0;
    std::uint32_t nEntry = 0;
    while (true) {
        const size_t nHit = sText.find(sAnchor, nFrom);
        if (nHit == std::string_view::npos) {
            break;
        }
        // Hits come in order: the entry is looked for from the last one on.
        nEntry =
            static_cast<std::uint32_t>(std::upper_bound(m_vStart.begin() + nEntry, m_vStart.end(),
                                                        static_cast<std::uint32_t>(nHit)) -
                                       m_vStart.begin() - 1);
        if (!m_vEntries[nEntry].bRemoved && Matches(nEntry, 1ULL << nAnchor)) {
            vMatches.push_back(nEntry);
        }
        nFrom = m_vStart[nEntry + 1];
    }
    return vMatches;
}

std::unique_ptr<CJournalIndex::CData>
CJournalIndex::Read(const std::string& sDailyPath, const std::stop_token& oStop,
                    const std::function<void(const CDateTime&)>& fnProgress) {
    auto pData = std::make_unique<CData>();
    pData->m_bTypesPending = true;
    try {
        CJournalScan oScan(sDailyPath);
        oScan.DayStarted = fnProgress;
        CData& oData = *pData;
        oScan.CopyFound = [&oData](const SJournalCopy& oCopy) {
            oData.Add(oCopy, CJournalScan::ExtensionOf(oCopy.sTargetFileName));
        };
        if (!oScan.Scan(oStop)) {
            return nullptr;
        }
        pData->m_vFailures = oScan.Failures();
        pData->m_lFailures = oScan.FailureCount();
    } catch (const std::exception& oError) {
        // What was read so far is handed over; the owner logs why the rest is missing.
        pData->m_sBuildError = oError.what();
    }
    return pData;
}

CJournalIndex::CJournalIndex() : m_pData(std::make_unique<CData>()) {}

CJournalIndex::~CJournalIndex() {
    Cancel();
    Wait();
}

void CJournalIndex::Publish(std::unique_ptr<CData> pData) {
    {
        const std::lock_guard<std::mutex> oLock(m_oMutex);
        m_pFinished = std::move(pData);
    }
    m_bFinished.store(true, std::memory_order_release);
}

void CJournalIndex::Build(const std::string& sDailyPath) {
    try {
        Cancel();
        Wait();
        {
            const std::lock_guard<std::mutex> oLock(m_oMutex);
            m_pFinished.reset();
        }
        m_bFinished.store(false, std::memory_order_release);
        // What is filed from now on may be missed by the listing: it is applied again.
        m_vPending.clear();
        m_bStarted = true;
        m_bBuilding.store(true, std::memory_order_release);
        m_oBuilder = std::jthread([this, sDailyPath, fnProgress = BuildProgress,
                                   fnFinished = BuildFinished](std::stop_token oStop) {
            std::unique_ptr<CData> pData = Read(sDailyPath, oStop, fnProgress);
            const bool bFinished = pData != nullptr && !oStop.stop_requested();
            if (bFinished) {
                Publish(std::move(pData));
            }
            m_bBuilding.store(false, std::memory_order_release);
            try {
                if (bFinished && fnFinished) {
                    fnFinished();
                }
            } catch (...) {
                // The owner's handler failed: the index waits all the same, and is taken over
                // at the next call.
            }
        });
    } catch (const std::exception& oError) {
        m_bBuilding.store(false, std::memory_order_release);
        MDayfold::LogError(oError, "CJournalIndex.Build", false);
    }
}

void CJournalIndex::BuildNow(const std::string& sDailyPath) {
    try {
        Cancel();
        Wait();
        m_vPending.clear();
        m_bStarted = true;
        Publish(Read(sDailyPath, std::stop_token(), BuildProgress));
        TakeOver();
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CJournalIndex.BuildNow", false);
    }
}

void CJournalIndex::Cancel() {
    m_oBuilder.request_stop();
}

void CJournalIndex::Wait() {
    if (m_oBuilder.joinable()) {
        m_oBuilder.join();
    }
}

void CJournalIndex::Apply(const SPending& oPending) {
    if (oPending.oCopy) {
        m_pData->Add(*oPending.oCopy, oPending.oCopy->sType);
    } else if (oPending.fnRemove) {
        m_pData->Remove(oPending.fnRemove);
    }
}

void CJournalIndex::TakeOver() {
    // A build that has ended says so only after it has handed its index over, so an index
    // not found after the end is seen to be none: the build was stopped, and the current
    // index has had every filing.
    if (m_bStarted && !Building() && !m_bFinished.load(std::memory_order_acquire)) {
        m_bStarted = false;
        m_vPending.clear();
        return;
    }
    if (!m_bFinished.load(std::memory_order_acquire)) {
        return;
    }
    std::unique_ptr<CData> pData;
    {
        const std::lock_guard<std::mutex> oLock(m_oMutex);
        pData = std::move(m_pFinished);
        m_bFinished.store(false, std::memory_order_release);
    }
    if (!pData) {
        return;
    }
    try {
        CShortcutCache oCache;
        pData->ResolveTypes(oCache);
        std::swap(m_pData, pData);
        for (const SPending& oPending : m_vPending) {
            Apply(oPending);
        }
        m_bReady = true;
        CJournalScan::LogFailures(m_pData->m_vFailures, m_pData->m_lFailures,
                                  "CJournalIndex.Build");
        if (!m_pData->m_sBuildError.empty()) {
            MDayfold::LogError(
                CRunTimeError(RunTimeErrors::PathFileAccessError,
                              "The journal index is incomplete: " + m_pData->m_sBuildError),
                "CJournalIndex.Build", false);
        }
        m_pData->m_vFailures.clear();
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CJournalIndex.TakeOver", false);
    }
    m_vPending.clear();
    m_bStarted = false;
}

bool CJournalIndex::Ready() {
    TakeOver();
    return m_bReady;
}

void CJournalIndex::Add(const CShortcut& oShortcut, bool /*bCounted*/) {
    try {
        SJournalCopy oCopy;
        oCopy.sShortcutFile = oShortcut.File();
        oCopy.sShortcutName = oShortcut.FileName();
        // The capture files a copy in the day folder of its last-write time.
        oCopy.dDay = oShortcut.Modified().DatePart();
        oCopy.dModified = oShortcut.Modified();
        oCopy.sTargetFile = oShortcut.TargetFile();
        oCopy.sName = CJournalScan::DocumentName(oShortcut.TargetFile(), oShortcut.FileName());
        oCopy.sTargetFileName = oShortcut.TargetFileName();
        oCopy.sWorkingDirectory = oShortcut.WorkingDirectory();
        oCopy.sFolder = CJournalScan::FolderOf(oShortcut.TargetFile());
        if (oCopy.sFolder.empty()) {
            oCopy.sFolder = oShortcut.WorkingDirectory();
        }
        oCopy.sType = oShortcut.TargetClass();
        AddCopy(oCopy);
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CJournalIndex.Add", false);
    }
}

void CJournalIndex::AddCopy(const SJournalCopy& oCopy) {
    try {
        TakeOver();
        m_pData->Add(oCopy, oCopy.sType);
        if (m_bStarted) {
            m_vPending.push_back({oCopy, nullptr});
        }
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CJournalIndex.AddCopy", false);
    }
}

void CJournalIndex::RemoveDocuments(
    const std::function<bool(const std::string& sTargetFile)>& fnWhich) {
    try {
        TakeOver();
        m_pData->Remove(fnWhich);
        if (m_bStarted) {
            m_vPending.push_back({std::nullopt, fnWhich});
        }
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CJournalIndex.RemoveDocuments", false);
    }
}

std::vector<SJournalDocument> CJournalIndex::Query(const std::string& sText) {
    std::vector<SJournalDocument> vDocuments;
    try {
        TakeOver();
        const CData& oData = *m_pData;
        std::vector<std::uint32_t> vMatches = oData.Query(Words(MCaseFold::Fold(sText)));
        m_nMatches = vMatches.size();
        // Sorted on the entries' own fields; only the documents handed out are copied.
        const auto Newer = [&oData](std::uint32_t a, std::uint32_t b) {
            return oData.Before(a, b);
        };
        const auto itEnd =
            vMatches.size() > MaxResults ? vMatches.begin() + MaxResults : vMatches.end();
        std::partial_sort(vMatches.begin(), itEnd, vMatches.end(), Newer);
        vMatches.erase(itEnd, vMatches.end());
        vDocuments.reserve(vMatches.size());
        for (const std::uint32_t nEntry : vMatches) {
            vDocuments.push_back(oData.Document(nEntry));
        }
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CJournalIndex.Query", false);
    }
    return vDocuments;
}

std::int32_t CJournalIndex::Count() {
    TakeOver();
    return m_pData->Live();
}

std::optional<SJournalDocument> CJournalIndex::Document(const SJournalCopy& oCopy) {
    try {
        TakeOver();
        const std::uint32_t nEntry = m_pData->Find(oCopy);
        if (nEntry != NotFound) {
            return m_pData->Document(nEntry);
        }
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CJournalIndex.Document", false);
    }
    return std::nullopt;
}
