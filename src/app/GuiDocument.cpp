#include "app/GuiDocument.h"

#include "app/CMainFrame.h"
#include "app/GuiMessages.h"
#include "scan/SearchThread.h"
#include "util/Text.h"

#include <QCoreApplication>
#include <QThread>
#include <condition_variable>

namespace ostravion::gui {

namespace {

bool OnUiThread() {
    return QThread::currentThread() == QCoreApplication::instance()->thread();
}

// One piece of work handed to the user-interface thread.
struct HandedWork {
    std::function<void()> work;
    std::mutex mutex;
    std::condition_variable cv;
    bool done = false;   // it ran
    bool gaveUp = false; // the scan thread stopped waiting: it must not run
};

} // namespace

void GuiScanHost::RunOnOwner(std::stop_token stop, const std::function<void()>& work) {
    if (OnUiThread()) {
        work();
        return;
    }
    auto handed = std::make_shared<HandedWork>();
    handed->work = work; // the host's own copy: the caller's may go
    QMetaObject::invokeMethod(
        this,
        [this, handed] {
            {
                std::lock_guard<std::mutex> lock(handed->mutex);
                if (handed->gaveUp)
                    return;
            }
            ++handed_;
            handed->work();
            std::lock_guard<std::mutex> lock(handed->mutex);
            handed->done = true;
            handed->cv.notify_all();
        },
        Qt::QueuedConnection);
    std::stop_callback onStop(stop, [handed] {
        std::lock_guard<std::mutex> lock(handed->mutex);
        handed->cv.notify_all();
    });
    std::unique_lock<std::mutex> lock(handed->mutex);
    handed->cv.wait(lock, [&] { return handed->done || stop.stop_requested(); });
    if (!handed->done)
        handed->gaveUp = true;
}

void GuiScanHost::ScanEnded(std::stop_token, ScanOutcome outcome) {
    // The scan thread does not wait for the question: its work is done.
    if (outcome != ScanOutcome::Completed)
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (completed)
                completed();
        },
        Qt::QueuedConnection);
}

std::string NativeFolder(const std::string& folderText, const std::vector<Drive>& drives,
                         char nativeSeparator, const TextCodec& codec) {
    const Drive* best = nullptr;
    for (const Drive& d : drives) {
        if (d.text.empty() || d.text.size() > folderText.size())
            continue;
        // Drive letters are the same in either case; other roots are exact.
        const std::string head = folderText.substr(0, d.text.size());
        const bool match =
            d.textSeparator == '\\' ? text::EqualsNoCase(head, d.text) : head == d.text;
        if (match && (!best || d.text.size() > best->text.size()))
            best = &d;
    }
    std::string rest = best ? folderText.substr(best->text.size()) : folderText;
    const char textSeparator = best ? best->textSeparator : '\\';
    for (std::size_t i = 0; i < rest.size(); i += text::CharLength(rest, i))
        if (rest[i] == textSeparator)
            rest[i] = nativeSeparator;
    return (best ? best->native : std::string()) + codec.ToUtf8(rest);
}

void MappedFileDates::Refresh() {
    drives_ = platform_.DriveList().FixedDrives();
    read_ = true;
}

bool MappedFileDates::Created(const std::string& path, LocalTime& out) const {
    const FileDates* dates = platform_.Dates();
    if (!dates)
        return false;
    if (!read_)
        const_cast<MappedFileDates*>(this)->Refresh();
    TextCodec& codec = platform_.Codec();
    const std::string native =
        NativeFolder(path, drives_, platform_.Search().NativeSeparator(), codec);
    return dates->Created(codec.FromUtf8(native), out);
}

GuiDocument::GuiDocument(CAuditUtil& util, NativePlatform& platform, const SystemInfo& system,
                         GuiMessages* messages)
    : util_(util), platform_(platform), system_(system), messages_(messages), dates_(platform),
      normal_(util, &dates_), extended_(util, &dates_), doc_(util, normal_, extended_) {}

GuiDocument::~GuiDocument() {
    // A scan still running ends without another write.
    if (messages_)
        messages_->CancelWaits();
    host_.completed = nullptr;
}

void GuiDocument::SetFrame(CMainFrame* frame) {
    frame_ = frame;
    // After a total was loaded or built: "확장" when the extended list holds rows.
    doc_.SetArrangementHandler([this](bool extended) {
        if (frame_)
            frame_->SelectLayout(extended);
    });
    host_.completed = [this] {
        // A stop given after the walk ended but before this ran has put the
        // commands back already: no question then.
        if (!awaitingEnd_)
            return;
        awaitingEnd_ = false;
        if (frame_)
            frame_->OnScanCompleted();
    };
}

void GuiDocument::SetLayoutMode(unsigned char mode) {
    doc_.SetLayoutMode(mode);
}

void GuiDocument::ClearViews() {
    normal_.Clear();
    extended_.Clear();
}

void GuiDocument::LoadTotal() {
    doc_.LoadTotal();
}

bool GuiDocument::SaveTotal() {
    return doc_.SaveTotal();
}

void GuiDocument::Consolidate() {
    doc_.Consolidate();
}

void GuiDocument::PrepareScanProgress(const std::string& text) {
    PrepareProgress(util_, platform_.Search(), platform_.DriveList(), text);
}

void GuiDocument::StartScan() {
    ScanRequest request{ScanPorts{platform_.Search(), platform_.DriveList(), platform_.Versions(),
                                  platform_.Apps()},
                        &system_, platform_.Threads(), kKeyListFile};
    dates_.Refresh();
    awaitingEnd_ = true;
    doc_.StartScan(request, host_);
}

void GuiDocument::StopScan() {
    // A question the scan thread waits for is given up, then the thread ends.
    if (messages_)
        messages_->CancelWaits();
    awaitingEnd_ = false;
    doc_.StopScan();
}

void GuiDocument::WriteScanResults() {
    doc_.WriteScanResults();
}

} // namespace ostravion::gui
