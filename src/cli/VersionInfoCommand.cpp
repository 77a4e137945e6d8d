// version-info: the version strings of Windows programs, as a scan reads them.
#include "cli/Command.h"
#include "util/Text.h"

#include <filesystem>
#include <fstream>
#include <iostream>

namespace ostravion::cli {

namespace {

// The strings the scan reads, in the order it reads them.
constexpr const char* kNames[] = {"CompanyName", "FileDescription", "ProductName",
                                  "ProductVersion"};

class VersionInfoCommand final : public Command {
public:
    void Register(CLI::App& app) override {
        cmd_ =
            app.add_subcommand("version-info", "Windows 프로그램의 버전 문자열을 점검이 읽는 대로 "
                                               "보입니다 (첫 줄만)");
        cmd_->add_option("FILE", files_, "프로그램이나 라이브러리 파일")->required();
    }
    bool Chosen() const override { return cmd_->parsed(); }
    int Run(Context& ctx) override {
        int status = 0;
        for (const std::string& file : files_) {
            std::error_code ec;
            const char* problem = nullptr;
            if (!std::filesystem::exists(file, ec))
                problem = "파일이 없습니다";
            else if (!std::filesystem::is_regular_file(file, ec))
                problem = "파일이 아닙니다";
            else if (!std::ifstream(file, std::ios::binary))
                problem = "읽을 수 없습니다";
            if (problem) {
                std::cerr << "ostravion-cli: " << ShownUtf8Path(file) << ": " << problem << "\n";
                status = 1;
                continue;
            }
            std::cout << ShownUtf8Path(file) << "\n";
            for (const char* name : kNames) {
                const std::string value =
                    text::CutAtLineBreak(ctx.platform.Versions().Read(file, name));
                std::cout << "  " << name << ":";
                if (!value.empty())
                    std::cout << " " << ctx.Utf8(value);
                std::cout << "\n";
            }
        }
        return status;
    }

private:
    CLI::App* cmd_ = nullptr;
    std::vector<std::string> files_;
};

} // namespace

std::unique_ptr<Command> MakeVersionInfoCommand() {
    return std::make_unique<VersionInfoCommand>();
}

} // namespace ostravion::cli
