#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The folders whose documents are never journalled: a document in one of them, or below it,
// is neither filed nor counted. Kept in the settings group "Privacy", one folder per value
// "Folder 1", "Folder 2", ... (a folder's path may hold any separator, so one value per
// folder is what survives editing by hand; the values are read in the order of their numbers,
// gaps and other values are passed over). The group is made with the defaults on first use:
// the cache folder ($XDG_CACHE_HOME, else ~/.cache), /tmp, /var/tmp and $TMPDIR.
//
// Paths are compared part by part, never as text, so /tmp2/x is not in /tmp; "." and ".."
// parts are resolved, and a folder's or a document's symbolic links are followed too. A path
// made on Windows (C:\Users\Ann\..., \\server\share\...) is compared without regard to
// letter case and with either separator, against the folders given the same way.
class CPrivateFolders {
public:
    static constexpr const char* GroupName = "Privacy";
    static constexpr const char* ValuePrefix = "Folder ";

    std::string ClassName() const { return "CPrivateFolders"; }

    // Reads the folders, making the group with the defaults when it does not exist; a folder
    // set by the user is never reset. Without a group (the settings file cannot be written)
    // the defaults hold. When the group may have lost folders (the settings file is damaged,
    // or a line that may be one of its values could not be read), the folders are not known:
    // the defaults would make public what the user made private, so every document counts as
    // private. (Such a settings file is kept as it is from the start: MDayfold::CreateGlobals.)
    void ReadValues();
    // False after ReadValues found the folders unknown; SetFolders makes them known.
    bool Known() const { return m_bKnown; }
    // What the user is told when the folders are not known: the two sentences of the string
    // table and the settings file, sBreak between them.
    static std::string UnknownMessage(const std::string& sBreak);
    // Stores the folders as "Folder 1" ... "Folder n" in place of the old values; true when
    // stored.
    bool SaveValues();

    // The folders, as they are stored.
    const std::vector<std::string>& Folders() const { return m_vFolders; }
    // Blank entries and relative paths are dropped, a leading "~" is the home folder, trailing
    // separators go, and a folder named twice is kept once.
    void SetFolders(const std::vector<std::string>& vFolders);
    static std::vector<std::string> DefaultFolders();

    // Whether the document sPath lies in one of the folders or below; always true when the
    // folders are not known.
    bool Contains(const std::string& sPath) const;
    // Whether sPath is sFolder or lies below it.
    static bool IsInside(const std::string& sPath, const std::string& sFolder);

    // The repository copies of documents inside sFolder (for the question whether to remove
    // them), in calendar order.
    std::vector<std::string> FindExisting(const std::string& sFolder) const;
    // Removes those copies, with the day folders they leave empty; returns how many went. The
    // owner then rebuilds the Favorites store, which counts from the repository.
    std::int32_t RemoveExisting(const std::string& sFolder);

private:
    struct SPath {
        bool bWindows = false;
        std::vector<std::string> vParts; // a Windows path's parts in one letter case
        bool operator==(const SPath&) const = default;
    };
    static std::optional<SPath> Parse(const std::string& sPath);
    static bool Below(const SPath& oPath, const SPath& oFolder);
    // The path with its symbolic links resolved (its folder's, when it does not exist).
    static std::optional<SPath> Resolved(const std::string& sPath);
    static std::string Normalised(const std::string& sFolder);

    std::vector<std::string> m_vFolders;
    std::vector<SPath> m_vParsed; // the folders, and where links lead from them
    bool m_bKnown = true;
};
