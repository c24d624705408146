#include "app/command_line.h"

#include <cstdio>

namespace {

// The argument as the error line shows it: a control character (a line
// break typed into a quoted argument, say) would break the line apart.
std::string Printable(const std::string& arg) {
    std::string shown = arg;
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    }
    return shown;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        if (arg == "-h" || arg == "--help") return {CommandLineAction::ShowHelp, {}};
        if (arg == "-V" || arg == "--version") return {CommandLineAction::ShowVersion, {}};
        const bool option = arg.size() > 1 && arg[0] == '-';
        std::string error = "quillery: ";
        error += option ? "无法识别的选项“" : "不接受参数“";
        error += Printable(arg) + "”。用 quillery --help 查看可用的选项。";
        return {CommandLineAction::Refuse, error};
    }
    return {};
}

std::string VersionText() { return std::string("quillery ") + QUILLERY_VERSION; }

std::string HelpText() {
    return "用法：quillery [选项]\n"
           "\n"
           "澄川论坛的键盘与读屏客户端，内置本地音乐播放器。不带选项时打开主窗口。\n"
           "\n"
           "选项：\n"
           "  -h, --help     显示本帮助并退出\n"
           "  -V, --version  显示版本号并退出\n"
           "\n"
           "设置文件为 $XDG_DATA_HOME/澄川论坛/settings.ini（未设置 XDG_DATA_HOME 时为\n"
           "~/.local/share/澄川论坛/settings.ini），其中 [server] 组的 host= 与 port=\n"
           "指定论坛服务器。环境变量与设置详见 man quillery。\n";
}

std::optional<int> AnswerCommandLine(int argc, char** argv) {
    const CommandLine command = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (command.action) {
    case CommandLineAction::ShowHelp:
        std::fputs(HelpText().c_str(), stdout);
        return 0;
    case CommandLineAction::ShowVersion:
        std::printf("%s\n", VersionText().c_str());
        return 0;
    case CommandLineAction::Refuse:
        std::fprintf(stderr, "%s\n", command.error.c_str());
        return kCommandLineMisuse;
    case CommandLineAction::Run:
        break;
    }
    return std::nullopt;
}
