#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <unordered_map>
#include <vector>

class CClock;

// Whether documents still exist: asked lazily for the rows on show (and remembered for a short
// time, so that scrolling and repainting do not touch the disk again), and over the whole
// repository for "Remove missing links".
//
// Only what can be told is called missing. A document whose path is not a local one (a path
// made on Windows, a network share) is unknown, and so is one whose path cannot be followed
// further than a mount folder (/media, /run/media, /mnt, a desktop's gvfs folder, or a folder
// right below one): its volume may just be unplugged. A path that the system refuses to look
// into (no permission, an input/output error) is unknown too.
class CMissingDocuments {
public:
    enum class EState { Present, Missing, Unknown };
    static constexpr std::int64_t DefaultSeconds = 30;
    // Answers remembered at most; more, and all are forgotten.
    static constexpr size_t AnswersKept = 4096;

    // llSeconds: how long an answer is trusted, by the clock given.
    explicit CMissingDocuments(const CClock& oClock, std::int64_t llSeconds = DefaultSeconds);

    std::string ClassName() const { return "CMissingDocuments"; }

    // Whether the document sTargetFile is missing (its row is shown greyed).
    bool Missing(const std::string& sTargetFile);
    // The same for a document known by its folder and name (a Favorites record).
    bool Missing(const std::string& sFolder, const std::string& sName);
    // Forgets every answer: the next question looks again.
    void Forget();

    // The folders below which a missing folder means a volume not mounted.
    const std::vector<std::string>& VolumeFolders() const { return m_vVolumeFolders; }
    void SetVolumeFolders(const std::vector<std::string>& vFolders) { m_vVolumeFolders = vFolders; }

    // The state of a document now, not remembered.
    EState Check(const std::string& sTargetFile) const;

    // The repository copies whose documents are missing, in calendar order.
    std::vector<std::string> FindMissing();
    // Removes those of the copies whose documents are still missing (one may have come back
    // since the question), with the day folders they leave empty; returns how many went. The
    // owner then rebuilds the Favorites store and the journal index.
    std::int32_t RemoveMissing(const std::vector<std::string>& vCopies);

private:
    struct SAnswer {
        EState eState;
        std::time_t tChecked;
    };
    bool IsVolumeFolder(const std::string& sFolder) const;

    const CClock& m_oClock;
    std::int64_t m_llSeconds;
    std::vector<std::string> m_vVolumeFolders;
    std::unordered_map<std::string, SAnswer> m_colAnswers;
};
