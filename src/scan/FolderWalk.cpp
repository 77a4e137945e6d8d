#include "scan/FolderWalk.h"

#include "util/Text.h"

#include <algorithm>
#include <exception>
#include <system_error>

namespace ostravion {

namespace {

constexpr std::string_view kInternetCache = "Temporary Internet Files";

// The browser cache is never entered: its search pattern ("...\\*.*")
// names it somewhere after the first character.
bool IsInternetCache(const std::string& folderText) {
    const std::string pattern = folderText + "*.*";
    return text::Find(pattern, kInternetCache, text::CharLength(pattern, 0)) != std::string::npos;
}

} // namespace

void CollectSubfolders(const WalkFolder& parent, const std::vector<DirEntry>& entries,
                       char textSeparator, char nativeSeparator, FolderIdentity root,
                       const std::function<bool(const FolderIdentity&)>& isAncestor,
                       std::vector<WalkFolder>& out) {
    for (const DirEntry& e : entries) {
        if (!(e.attributes & kAttrDirectory) || e.name == "." || e.name == "..")
            continue;
        WalkFolder sub;
        sub.text = parent.text + text::BlankControls(e.name) + textSeparator;
        if (IsInternetCache(sub.text))
            continue;
        const FolderIdentity id{e.device, e.inode};
        if (id.Known()) {
            if (root.Known() && id.device != root.device)
                continue;
            if (isAncestor(id))
                continue;
        }
        sub.native = parent.native + e.nativeName + nativeSeparator;
        sub.device = e.device;
        sub.inode = e.inode;
        sub.link = e.link;
        out.push_back(std::move(sub));
    }
}

unsigned ReadAheadThreads() {
    const unsigned cores = std::thread::hardware_concurrency();
    return std::clamp(cores, 1u, 8u);
}

FolderWalk::FolderWalk(const FileSearch& search, char textSeparator, const WalkFolder& root,
                       unsigned threads, std::function<void()> workerStart,
                       std::function<bool(const DirEntry&)> wantsSize)
    : search_(search), textSeparator_(textSeparator),
      root_(std::make_unique<WalkNode>()), rootId_{root.device, root.inode},
      workerStart_(std::move(workerStart)), wantsSize_(std::move(wantsSize)) {
    root_->folder = root;
    for (unsigned i = 0; i < threads; ++i) {
        try {
            workers_.emplace_back([this] { Work(); });
        } catch (const std::system_error&) {
            break; // fewer workers, or none: the walk lists the rest itself
        }
    }
    ahead_ = !workers_.empty();
    if (ahead_) {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_.insert(root_.get());
        work_.notify_one();
    }
}

FolderWalk::~FolderWalk() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    work_.notify_all();
    for (std::thread& t : workers_)
        t.join();
}

void FolderWalk::List(WalkNode& node, bool hold) const {
    if (node.folder.link)
        return; // listed in its folder, never entered
    try {
        ListRequest request{node.folder.native};
        if (node.parent && node.parent->held) {
            request.parent = node.parent->held.get();
            const std::string& above = node.parent->folder.native;
            // The native path is the parent's, the name and one separator.
            request.name = std::string_view(node.folder.native)
                               .substr(above.size(), node.folder.native.size() - above.size() - 1);
        }
        request.device = node.folder.device;
        if (wantsSize_)
            request.wantsSize = &wantsSize_;
        request.hold = hold && node.depth < kMaxFolderDepth;
        node.fault = search_.ListRequested(request, node.entries, node.held);
        if (node.depth >= kMaxFolderDepth)
            return;
        std::vector<WalkFolder> subs;
        const auto isAncestor = [&node](const FolderIdentity& id) {
            for (const WalkNode* n = &node; n; n = n->parent)
                if (FolderIdentity{n->folder.device, n->folder.inode} == id)
                    return true;
            return false;
        };
        CollectSubfolders(node.folder, node.entries, textSeparator_, search_.NativeSeparator(),
                          rootId_, isAncestor, subs);
        node.children.reserve(subs.size());
        for (std::size_t i = 0; i < subs.size(); ++i) {
            auto child = std::make_unique<WalkNode>();
            child->folder = std::move(subs[i]);
            child->parent = &node;
            child->depth = node.depth + 1;
            if (ahead_) {
                child->order.reserve(node.order.size() + 1);
                child->order = node.order;
                child->order.push_back(static_cast<std::uint32_t>(i));
            }
            node.children.push_back(std::move(child));
        }
    } catch (const std::exception&) {
        // A folder too large to hold is one that could not be read; a worker
        // that let it through would end the program.
        node.entries = {};
        std::vector<std::unique_ptr<WalkNode>>().swap(node.children);
        node.fault = ReadFault::Failed;
    }
}

bool FolderWalk::StartListing() {
    if (held_ >= kHeldFolders)
        return false;
    ++held_;
    return true;
}

void FolderWalk::Listed(WalkNode& node, bool hold) {
    if (ahead_)
        for (const auto& child : node.children)
            pending_.insert(child.get());
    // The folder stays open only while sub-folders of it are to be listed.
    node.unlisted = node.children.size();
    if (node.unlisted == 0)
        node.held.reset();
    if (hold && !node.held)
        --held_;
    // Its parent's last sub-folder is listed: the parent is let go.
    WalkNode* parent = node.parent;
    if (parent && parent->unlisted > 0 && --parent->unlisted == 0 && parent->held) {
        parent->held.reset();
        --held_;
    }
    node.state.store(WalkNode::State::Listed, std::memory_order_release);
}

bool FolderWalk::MayListAhead() const {
    return !pending_.empty() && !limited_;
}

void FolderWalk::ListFirstPending(std::unique_lock<std::mutex>& lock) {
    // The pending folder the walk reaches first.
    WalkNode& node = **pending_.begin();
    pending_.erase(pending_.begin());
    node.state = WalkNode::State::Listing;
    if (++aheadFolders_ >= kAheadFolders)
        limited_ = true;
    const bool hold = StartListing();
    lock.unlock();
    List(node, hold);
    // The lock is held briefly: trying it a few times first spares a sleep
    // and a wake-up for most folders.
    for (int i = 0; i < 64 && !lock.try_lock(); ++i)
        std::this_thread::yield();
    if (!lock.owns_lock())
        lock.lock();
    aheadEntries_ += node.entries.size();
    if (aheadEntries_ >= kAheadEntries)
        limited_ = true;
    // Once listed, the walk may take the folder and be done with it without
    // the lock: nothing of it is read after.
    const std::size_t children = node.children.size();
    const bool waited = waiting_ == &node;
    Listed(node, hold);
    if (waited)
        listed_.notify_one();
    if (children > 1)
        work_.notify_all();
    else if (children == 1)
        work_.notify_one();
}

void FolderWalk::Work() {
    if (workerStart_)
        workerStart_();
    std::unique_lock<std::mutex> lock(mutex_);
    while (true) {
        work_.wait(lock, [this] { return stopping_ || MayListAhead(); });
        if (stopping_)
            return;
        ListFirstPending(lock);
    }
}

WalkNode& FolderWalk::Take(WalkNode& node) {
    if (!ahead_) {
        const bool hold = StartListing();
        List(node, hold);
        Listed(node, hold);
        return node;
    }
    // Listed ahead: taken without the lock, which the workers want.
    if (node.state.load(std::memory_order_acquire) == WalkNode::State::Listed) {
        Taken(node);
        return node;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    if (node.state == WalkNode::State::Pending) {
        // No worker has come to it yet: the walk lists it now rather than wait.
        pending_.erase(&node);
        node.state = WalkNode::State::Listing;
        const bool hold = StartListing();
        lock.unlock();
        List(node, hold);
        lock.lock();
        Listed(node, hold);
        if (!node.children.empty())
            work_.notify_all();
        return node;
    }
    // A worker is listing it: the walk lists folders further on meanwhile
    // rather than sleep.
    waiting_ = &node;
    while (node.state != WalkNode::State::Listed) {
        if (MayListAhead())
            ListFirstPending(lock);
        else
            listed_.wait(lock, [this, &node] {
                return node.state == WalkNode::State::Listed || MayListAhead();
            });
    }
    waiting_ = nullptr;
    lock.unlock();
    Taken(node);
    return node;
}

void FolderWalk::Taken(const WalkNode& node) {
    const std::size_t folders = --aheadFolders_;
    const std::size_t entries = aheadEntries_ -= node.entries.size();
    // Workers held back by the distance ahead go on once half of it is
    // taken, so that they are not woken for every folder.
    if (limited_ && folders <= kAheadFolders / 2 && entries <= kAheadEntries / 2) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (limited_) {
            limited_ = false;
            work_.notify_all();
        }
    }
}

void FolderWalk::Finish(WalkNode& node) {
    // Every sub-folder has been taken and finished: nothing else holds them.
    node.entries = {};
    std::vector<std::unique_ptr<WalkNode>>().swap(node.children);
}

} // namespace ostravion
