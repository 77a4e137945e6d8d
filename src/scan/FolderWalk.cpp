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
                       unsigned threads, std::function<void()> workerStart)
    : search_(search), textSeparator_(textSeparator),
      root_(std::make_unique<WalkNode>()), rootId_{root.device, root.inode},
      workerStart_(std::move(workerStart)) {
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

void FolderWalk::List(WalkNode& node) const {
    if (node.folder.link)
        return; // listed in its folder, never entered
    try {
        node.fault = search_.ListChecked(node.folder.native, node.entries);
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

void FolderWalk::Listed(WalkNode& node) {
    node.state = WalkNode::State::Listed;
    for (const auto& child : node.children)
        pending_.insert(child.get());
}

void FolderWalk::Work() {
    if (workerStart_)
        workerStart_();
    std::unique_lock<std::mutex> lock(mutex_);
    while (true) {
        work_.wait(lock, [this] {
            return stopping_ || (!pending_.empty() && aheadFolders_ < kAheadFolders &&
                                 aheadEntries_ < kAheadEntries);
        });
        if (stopping_)
            return;
        // The pending folder the walk reaches first.
        WalkNode& node = **pending_.begin();
        pending_.erase(pending_.begin());
        node.state = WalkNode::State::Listing;
        ++aheadFolders_;
        lock.unlock();
        List(node);
        lock.lock();
        aheadEntries_ += node.entries.size();
        Listed(node);
        if (waiting_ == &node)
            listed_.notify_one();
        if (node.children.size() > 1)
            work_.notify_all();
        else if (!node.children.empty())
            work_.notify_one();
    }
}

WalkNode& FolderWalk::Take(WalkNode& node) {
    if (!ahead_) {
        List(node);
        node.state = WalkNode::State::Listed;
        return node;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    if (node.state == WalkNode::State::Pending) {
        // No worker has come to it yet: the walk lists it now rather than wait.
        pending_.erase(&node);
        node.state = WalkNode::State::Listing;
        lock.unlock();
        List(node);
        lock.lock();
        Listed(node);
        if (!node.children.empty())
            work_.notify_all();
        return node;
    }
    waiting_ = &node;
    listed_.wait(lock, [&node] { return node.state == WalkNode::State::Listed; });
    waiting_ = nullptr;
    // Workers held back by the distance ahead may go on.
    const bool held = aheadFolders_ >= kAheadFolders || aheadEntries_ >= kAheadEntries;
    --aheadFolders_;
    aheadEntries_ -= node.entries.size();
    if (held)
        work_.notify_one();
    return node;
}

void FolderWalk::Finish(WalkNode& node) {
    // Every sub-folder has been taken and finished: nothing else holds them.
    node.entries = {};
    std::vector<std::unique_ptr<WalkNode>>().swap(node.children);
}

} // namespace ostravion
