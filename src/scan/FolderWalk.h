// The folders of one drive in the order a scan walks them: each folder's
// listing, then its sub-folders depth first in listing order. Worker threads
// may list the folders the walk will reach next while it is busy with the
// files of the current one; the walk still takes every folder in its own
// order, so what it sees is what a walk on one thread sees.
#pragma once

#include "ports/Ports.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace ostravion {

// One folder of a walk, named twice.
struct WalkFolder {
    std::string text;   // as written in results, ending with the drive's text separator
    std::string native; // as the system opens it, ending with the native separator
    std::uint64_t device = 0;
    std::uint64_t inode = 0; // device and inode 0: identity unknown
    bool link = false;       // a link to a folder: nothing is listed in it
};

// Device and inode of a folder; both 0 when unknown.
struct FolderIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool Known() const { return device != 0 || inode != 0; }
    bool operator==(const FolderIdentity&) const = default;
};

// Folders nested deeper than this below a drive's root are not entered: a
// tree without end (a file system that makes up folders as they are listed)
// would otherwise use up the scan thread's stack.
inline constexpr std::size_t kMaxFolderDepth = 2048;

// The sub-folders of `parent` a walk enters, in listing order. It leaves out
// the browser cache, a folder on another file system than the drive's root
// (a mount point) and a folder for which `isAncestor` is true (a link back
// up the tree), which would never end.
void CollectSubfolders(const WalkFolder& parent, const std::vector<DirEntry>& entries,
                       char textSeparator, char nativeSeparator, FolderIdentity root,
                       const std::function<bool(const FolderIdentity&)>& isAncestor,
                       std::vector<WalkFolder>& out);

// One folder met by a FolderWalk.
struct WalkNode {
    WalkFolder folder;
    WalkNode* parent = nullptr; // null for the drive's root
    std::size_t depth = 1;      // 1 for the root
    // Once taken: how the listing went, what it holds, and the sub-folders
    // the walk enters, in order.
    ReadFault fault = ReadFault::None;
    std::vector<DirEntry> entries;
    std::vector<std::unique_ptr<WalkNode>> children;

private:
    friend class FolderWalk;
    enum class State { Pending, Listing, Listed };
    // Set to Listed last, so that the walk may read a folder listed ahead
    // without taking the lock.
    std::atomic<State> state{State::Pending};
    // The folder kept open by the search while sub-folders of it are still
    // to be listed, and how many.
    std::unique_ptr<HeldFolder> held;
    std::size_t unlisted = 0;
    std::vector<std::uint32_t> order; // child numbers from the root: the walk's order
};

class FolderWalk {
public:
    // `threads` 0: each folder is listed when the walk takes it. Otherwise
    // that many workers list ahead, each first calling `workerStart` (to
    // lower its priority), never more than a bounded number of folders and
    // entries ahead of the walk.
    // `wantsSize` picks the files whose size the walk will need, for a search
    // that can fetch them while it lists.
    FolderWalk(const FileSearch& search, char textSeparator, const WalkFolder& root,
               unsigned threads, std::function<void()> workerStart = {},
               std::function<bool(const DirEntry&)> wantsSize = {});
    // Stops the workers; a folder being listed is finished first.
    ~FolderWalk();
    FolderWalk(const FolderWalk&) = delete;
    FolderWalk& operator=(const FolderWalk&) = delete;

    WalkNode& Root() { return *root_; }
    // The folder listed, with its sub-folders. Folders must be taken in walk
    // order: a folder after its parent, sub-folders in their order, each
    // one's whole tree before the next.
    WalkNode& Take(WalkNode& node);
    // The walk is done with the folder and everything below it.
    void Finish(WalkNode& node);

    // How far ahead workers list: folders, and entries in them.
    static constexpr std::size_t kAheadFolders = 512;
    static constexpr std::size_t kAheadEntries = 1 << 17;
    // Folders held open for their sub-folders at most; past it, sub-folders
    // are opened by whole path.
    static constexpr std::size_t kHeldFolders = 128;

private:
    struct ByOrder {
        bool operator()(const WalkNode* a, const WalkNode* b) const { return a->order < b->order; }
    };
    bool StartListing(); // mutex held when listing ahead; true: the folder may be held
    void List(WalkNode& node, bool hold) const;
    void Listed(WalkNode& node, bool hold);                    // mutex held when listing ahead
    bool MayListAhead() const;                                 // mutex held
    void ListFirstPending(std::unique_lock<std::mutex>& lock); // mutex held
    void Work();
    void Taken(const WalkNode& node); // mutex not held

    const FileSearch& search_;
    char textSeparator_;
    std::unique_ptr<WalkNode> root_;
    FolderIdentity rootId_;
    bool ahead_ = false;

    std::mutex mutex_;
    std::condition_variable work_;
    std::condition_variable listed_;
    std::set<WalkNode*, ByOrder> pending_;
    std::atomic<std::size_t> aheadFolders_{0};
    std::atomic<std::size_t> aheadEntries_{0};
    std::size_t held_ = 0;
    // As far ahead as allowed: workers wait for the walk. Set with the mutex held.
    std::atomic<bool> limited_{false};
    bool stopping_ = false;
    WalkNode* waiting_ = nullptr; // the folder the walk waits for
    std::function<void()> workerStart_;
    std::function<bool(const DirEntry&)> wantsSize_;
    std::vector<std::thread> workers_;
};

// Workers a scan lists folders ahead with: the machine's cores, at most 8.
unsigned ReadAheadThreads();

} // namespace ostravion
