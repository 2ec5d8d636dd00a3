#pragma once

#include "app/journal/SJournalCopy.h"
#include "app/journal/SJournalDocument.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

class CShortcut;

// The search index of the whole journal: one entry per document, with its name, folder, type,
// the days it was used (day folders holding a copy of it), its last use and the copy of that
// use. A document is known the way the Favorites store knows it (CFavorites::TargetKey,
// IdentityKey and NameKey), so the two agree on what one document is.
//
// The index is built once from the repository on a thread of its own (Build): the build reads
// with its own objects, asks no registry and logs nothing, and hands the finished index over
// under a mutex. The owner's thread takes it over at its next call of any member below, and
// there fills in the types (one registry question per extension) and logs what could not be
// read. The filings added while the build ran are applied to the finished index too, so that
// none is lost and none counted twice. Every member is called on the owner's thread (the
// window's); only the events come from the building thread.
//
// A query is a scan of pre-folded text: each entry's name and folder, folded to one letter
// case, lie one after another in one string, and the types in a table of their own, so a
// query allocates nothing per entry.
class CJournalIndex {
public:
    // At most this many documents per query.
    static constexpr std::size_t MaxResults = 500;

    CJournalIndex();
    // Stops a running build and waits for it.
    ~CJournalIndex();
    CJournalIndex(const CJournalIndex&) = delete;
    CJournalIndex& operator=(const CJournalIndex&) = delete;

    std::string ClassName() const { return "CJournalIndex"; }

    // Starts building the index of the repository at sDailyPath on a thread of its own; a
    // build still running is stopped first. Until the new index is taken over, the old one (or
    // an empty one) answers, kept current by the filings.
    void Build(const std::string& sDailyPath);
    // Builds on the calling thread and takes the index over (the command line).
    void BuildNow(const std::string& sDailyPath);
    // Asks a running build to stop and hand nothing over (shutdown); returns at once.
    void Cancel();
    // Waits until a running build has ended, finished or stopped.
    void Wait();
    // Whether a build has been started and has not yet ended.
    bool Building() const { return m_bBuilding.load(std::memory_order_acquire); }
    // Whether an index built from the repository answers (taken over now if it is waiting).
    bool Ready();

    // One filing of the capture cycle: oShortcut describes the repository copy (the capture's
    // ShortcutFiled event). bCounted (a new day of use) needs no trust: the index counts the
    // day folders that hold a copy, so a copy seen twice is counted once.
    void Add(const CShortcut& oShortcut, bool bCounted);
    // The same with a copy read otherwise.
    void AddCopy(const SJournalCopy& oCopy);
    // Drops the documents whose full path fnWhich picks (a folder made private, missing
    // documents removed); a build running is told too.
    void RemoveDocuments(const std::function<bool(const std::string& sTargetFile)>& fnWhich);

    // The documents whose name, folder or type contains every word of sText, without regard to
    // letter case (Unicode), newest last use first (then by name), at most MaxResults. Words
    // are separated by blanks and control characters; a text without words matches every
    // document.
    std::vector<SJournalDocument> Query(const std::string& sText);
    // How many documents the last query matched, before the cap.
    std::size_t Matches() const { return m_nMatches; }
    // The documents indexed.
    std::int32_t Count();
    // The document a copy belongs to, if the index knows it.
    std::optional<SJournalDocument> Document(const SJournalCopy& oCopy);

    // Events, raised on the building thread; set them before Build. BuildProgress: before each
    // day folder is read, with its date. BuildFinished: the finished index waits to be taken
    // over; the owner posts a call to its own thread (any member takes it over).
    std::function<void(const CDateTime& dDay)> BuildProgress;
    std::function<void()> BuildFinished;

private:
    class CData;
    struct SPending {
        std::optional<SJournalCopy> oCopy;
        std::function<bool(const std::string&)> fnRemove;
    };

    // The index of the repository at sDailyPath, read on the calling thread; its types wait
    // for the owner's thread.
    static std::unique_ptr<CData> Read(const std::string& sDailyPath, const std::stop_token& oStop,
                                       const std::function<void(const CDateTime&)>& fnProgress);
    void TakeOver();
    void Publish(std::unique_ptr<CData> pData);
    void Apply(const SPending& oPending);

    std::unique_ptr<CData> m_pData;
    // What was added or removed since the running build started, for the finished index.
    std::vector<SPending> m_vPending;
    bool m_bStarted = false; // a build was started and its index not yet taken over
    bool m_bReady = false;   // an index read from the repository answers
    std::size_t m_nMatches = 0;

    // Shared with the building thread.
    std::mutex m_oMutex;
    std::unique_ptr<CData> m_pFinished; // guarded by m_oMutex
    std::atomic<bool> m_bFinished{false};
    std::atomic<bool> m_bBuilding{false};
    // Last: stopped and joined before the members it uses go.
    std::jthread m_oBuilder;
};
