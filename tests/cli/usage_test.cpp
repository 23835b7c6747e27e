#include "cli/cli_support.h"
#include "cli_runner.h"

namespace zephalo::test {
namespace {

TEST(CliUsage, HelpVersionAndUsageErrors) {
    TempDir scratch;
    const auto help = runCli({"--help"}, scratch);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("import"), std::string::npos);

    // The version needs no command and touches no work space.
    const auto version = runCli({"--workspace", (scratch / "ws").string(), "--version"}, scratch);
    EXPECT_EQ(version.exitCode, 0) << version.err;
    EXPECT_EQ(version.out, "zephalo-cli " ZEPHALO_VERSION "\n");
    EXPECT_FALSE(std::filesystem::exists(scratch / "ws"));

    const auto unknown = runCli({"no-such-command"}, scratch);
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_NE(unknown.err.find("usage:"), std::string::npos);

    const auto none = runCli({}, scratch);
    EXPECT_EQ(none.exitCode, 2);
}

// --- Message-panel text on the terminal -----------------------------------------

struct PanelText {
    const char* name;
    const char* panel;
    const char* terminal;
};

void PrintTo(const PanelText& text, std::ostream* out) {
    *out << text.name;
}

class TerminalText : public ::testing::TestWithParam<PanelText> {};

TEST_P(TerminalText, PrintsOneLinePerSentence) {
    EXPECT_EQ(cli::terminalText(GetParam().panel), GetParam().terminal);
}

INSTANTIATE_TEST_SUITE_P(
    CliUsage, TerminalText,
    ::testing::Values(
        PanelText{"BreakInsideAWordIsDropped", "　スケーリング因子を調整して下\r\nさい。\r\n",
                  "　スケーリング因子を調整して下さい。\n"},
        PanelText{"BreakAfterACommaIsDropped", "　これでよければ、\r\n「設定完了」を押して下さい。",
                  "　これでよければ、「設定完了」を押して下さい。\n"},
        PanelText{"SentencesKeepTheirOwnLines", "　読み込みました。\r\n確認して下さい！\r\n",
                  "　読み込みました。\n確認して下さい！\n"},
        PanelText{"AClosingBracketAfterTheStopEndsTheSentence",
                  "（以前の結果は保護されています。）\r\n次へ",
                  "（以前の結果は保護されています。）\n次へ\n"},
        PanelText{"AnIndentStartsAParagraph", "　表示範囲\r\n　「表示変更」\r\n  隣接平均",
                  "　表示範囲\n　「表示変更」\n  隣接平均\n"},
        PanelText{"BlankLinesStay", "!!!エラー!!!\r\n\r\n　RIXS計算に必要な\r\nファイル",
                  "!!!エラー!!!\n\n　RIXS計算に必要なファイル\n"},
        PanelText{"AsciiStopsEndSentences", "Done.\r\nR factor?\r\n(ok)",
                  "Done.\nR factor?\n(ok)\n"},
        PanelText{"EmptyTextIsOneLineEnd", "", "\n"}),
    [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace zephalo::test
