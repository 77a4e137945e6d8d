#include "win/report/GdiPrinting.h"

#include "desktop/DesktopTexts.h"
#include "platform/win32/WideText.h"
#include "views/PrintTexts.h"
#include "win/report/GdiPageCanvas.h"

#include <commdlg.h>
#include <winspool.h>

#include <vector>

namespace ostravion::gdireport {

namespace {

bool PrinterExists(const std::string& name) {
    HANDLE printer = nullptr;
    if (name.empty() || !OpenPrinterA(const_cast<char*>(name.c_str()), &printer, nullptr))
        return false;
    ClosePrinter(printer);
    return true;
}

std::string DefaultPrinter() {
    DWORD size = 0;
    GetDefaultPrinterA(nullptr, &size);
    if (size == 0)
        return {};
    std::string name(size, '\0');
    if (!GetDefaultPrinterA(name.data(), &size))
        return {};
    name.resize(name.find('\0') == std::string::npos ? name.size() : name.find('\0'));
    return name;
}

std::string FirstPrinter() {
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    DWORD needed = 0;
    DWORD count = 0;
    EnumPrintersA(flags, nullptr, 4, nullptr, 0, &needed, &count);
    if (needed == 0)
        return {};
    std::vector<BYTE> buffer(needed);
    if (!EnumPrintersA(flags, nullptr, 4, buffer.data(), needed, &needed, &count) || count == 0)
        return {};
    const auto* info = reinterpret_cast<const PRINTER_INFO_4A*>(buffer.data());
    return info->pPrinterName ? info->pPrinterName : "";
}

std::string DevNamesPrinter(HGLOBAL devNames) {
    if (!devNames)
        return {};
    std::string name;
    if (const auto* names = static_cast<const DEVNAMES*>(GlobalLock(devNames))) {
        name = reinterpret_cast<const char*>(names) + names->wDeviceOffset;
        GlobalUnlock(devNames);
    }
    return name;
}

} // namespace

void UprightPage(DEVMODEA& mode, bool a4) {
    mode.dmOrientation = DMORIENT_PORTRAIT;
    mode.dmFields |= DM_ORIENTATION;
    if (a4) {
        mode.dmPaperSize = DMPAPER_A4;
        mode.dmFields = (mode.dmFields | DM_PAPERSIZE) & ~DWORD(DM_PAPERLENGTH | DM_PAPERWIDTH);
    }
}

const char* PrintOutcomeText(PrintOutcome outcome) {
    switch (outcome) {
    case PrintOutcome::Printed:
        return nullptr;
    case PrintOutcome::NoPrinter:
        return desktop::kNoPrinter;
    case PrintOutcome::StartFailed:
        return print::kPrinterStartFailed;
    case PrintOutcome::Failed:
        return print::kPrintFailed;
    }
    return nullptr;
}

GdiPrinter::~GdiPrinter() {
    if (devMode_)
        GlobalFree(devMode_);
    if (devNames_)
        GlobalFree(devNames_);
}

bool GdiPrinter::Find() {
    // The chosen printer while it still exists, then the system's choice.
    std::string chosen = DevNamesPrinter(devNames_);
    if (chosen.empty())
        chosen = name_;
    if (PrinterExists(chosen)) {
        name_ = chosen;
        return true;
    }
    name_ = DefaultPrinter();
    if (name_.empty() || !PrinterExists(name_))
        name_ = FirstPrinter();
    return !name_.empty();
}

bool GdiPrinter::Choose(const std::string& name) {
    if (!PrinterExists(name))
        return false;
    // The setup dialog's settings belong to the printer chosen there.
    if (devMode_)
        GlobalFree(devMode_);
    if (devNames_)
        GlobalFree(devNames_);
    devMode_ = devNames_ = nullptr;
    name_ = name;
    return true;
}

const char* GdiPrinter::SetupOutcomeText(SetupResult result) {
    return result == SetupResult::NoPrinter ? desktop::kNoPrinterToSetUp : nullptr;
}

GdiPrinter::SetupResult GdiPrinter::Setup(HWND owner) {
    if (!Find())
        return SetupResult::NoPrinter;
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.hDevMode = devMode_;
    dialog.hDevNames = devNames_;
    dialog.Flags = PD_PRINTSETUP | PD_NOWARNING;
    const BOOL chosen = PrintDlgA(&dialog);
    // The dialog may have replaced the handles it was given, chosen or not.
    devMode_ = dialog.hDevMode;
    devNames_ = dialog.hDevNames;
    if (!chosen) {
        const DWORD error = CommDlgExtendedError();
        return error == PDERR_NODEFAULTPRN || error == PDERR_NODEVICES ? SetupResult::NoPrinter
                                                                       : SetupResult::Cancelled;
    }
    name_ = DevNamesPrinter(devNames_);
    return SetupResult::Chosen;
}

HDC GdiPrinter::CreatePrinterContext(bool informationOnly) {
    if (!Find())
        return nullptr;
    // The reports are laid out for an upright A4 page: the settings chosen in
    // the setup dialog turned upright, or the printer's own settings on A4
    // paper, upright, whatever the printer is set to.
    const bool chosen = devMode_ && DevNamesPrinter(devNames_) == name_;
    DEVMODEA* mode = nullptr;
    std::vector<char> own;
    if (chosen) {
        mode = static_cast<DEVMODEA*>(GlobalLock(devMode_));
    } else {
        HANDLE printer = nullptr;
        char* name = const_cast<char*>(name_.c_str());
        if (OpenPrinterA(name, &printer, nullptr)) {
            const LONG size = DocumentPropertiesA(nullptr, printer, name, nullptr, nullptr, 0);
            if (size >= static_cast<LONG>(sizeof(DEVMODEA))) {
                own.resize(static_cast<std::size_t>(size));
                auto* defaults = reinterpret_cast<DEVMODEA*>(own.data());
                if (DocumentPropertiesA(nullptr, printer, name, defaults, nullptr, DM_OUT_BUFFER) ==
                    IDOK)
                    mode = defaults;
            }
            ClosePrinter(printer);
        }
    }
    if (mode)
        UprightPage(*mode, !chosen);
    HDC dc = informationOnly ? CreateICA(nullptr, name_.c_str(), nullptr, mode)
                             : CreateDCA(nullptr, name_.c_str(), nullptr, mode);
    if (chosen && mode)
        GlobalUnlock(devMode_);
    return dc;
}

HDC GdiPrinter::InformationContext() {
    return CreatePrinterContext(true);
}

PrintOutcome GdiPrinter::Print(const ReportLayout& layout, const std::string& outputFile) {
    if (!Find())
        return PrintOutcome::NoPrinter;
    HDC dc = CreatePrinterContext(false);
    if (!dc)
        return PrintOutcome::StartFailed;
    const std::wstring output = win32::WideFromUtf8(outputFile);
    DOCINFOW doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = L"Ostravion";
    doc.lpszOutput = output.empty() ? nullptr : output.c_str();
    PrintOutcome outcome = PrintOutcome::Printed;
    if (StartDocW(dc, &doc) <= 0) {
        outcome = PrintOutcome::StartFailed;
    } else if (!DrawPages(layout, dc)) {
        AbortDoc(dc);
        outcome = PrintOutcome::Failed;
    } else if (EndDoc(dc) <= 0) {
        outcome = PrintOutcome::Failed;
    }
    DeleteDC(dc);
    return outcome;
}

} // namespace ostravion::gdireport
