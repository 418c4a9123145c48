// Every message, heading and listing format of the tool, as UTF-8. Order follows the Text enum.
// Formats use printf conversions; %s arguments are passed through as the bytes they are.
#include "text/messages.h"

namespace {

constexpr const char* kTexts[] = {
    // Start-up and command line
    "\n\nMASKBURN\nフォント定義からROMに書き込めるバイナリファイルを生成\n\n",
    "> %s {-8x16 半角東雲フォントファイル名} {-16x16 東雲フォントファイル名",
    "FONT.BIN を出力\n",
    "maskburn %s\n",
    "オプション %s の後にファイル名がありません。\n",
    "半角 東雲フォント ファイル '%s' は存在しません。\n",
    "東雲フォント ファイル '%s' は存在しません。\n",
    "半角東雲フォント '%s' 変換\n",
    "東雲フォント '%s' 変換\n",
    // Font reading
    "ファイル(%s)オープンエラー\n",
    "フォントサイズが8x16ではありません。\n",
    "フォントサイズが16x16ではありません。\n",
    "文字コードが255を超える文字を%d個無視しました。\n",
    "変換できない文字コードの文字を%d個無視しました。\n",
    // ROM image and files
    "\n半角東雲フォント INDEX\n",
    "\n東雲フォント INDEX\n",
    "索引のブロック(255個まで)に入りきらない文字を%d個無視しました。\n",
    "romImage.fontCountF=%d [%d]\n",
    "ファイル(%s)書き込みエラー\n",
    "ファイル(%s)は更新しませんでした。\n",
    // Glyph marks
    "■",
    "□",
    // Build report
    "★★ 半角フォント\n",
    "半角index:",
    "[%3d]",
    "\n\n",
    "★★ 全角フォント\n",
    "BLOCK INDEX:",
    "[%3d]",
    "[   ]",
    "FONT-%02X:",
    "[%4d]",
    "[    ]",
    "\n",
    "\n\n[%02X] romImage.indexH[%d]=%d addr=%d\n",
    "FONT[%04X] romImage.indexF[%d][%d]=%d addr=%d\n",
    // Read-back check
    "★★ FILE DUMP -----\n",
    "indexH ",
    "[%d]",
    "半角 FontCout=%d\n",
    "blockIndex ",
    "全角 blockCout=%d\n",
    "BLOCK[%d]-",
    "[%04X]",
    "全角 FontCout=%d\n",
    "fontCountF=%d [%d]\n",
    "★★ 半角　DUMP\n",
    "\n\n+[%02X] indexH[%d]=%d addr=%d\n",
    "★★ 全角　DUMP\n",
    "\n\n+[%04X] indexF[%2X][%2X]=%d addr=%d\n",
};

static_assert(sizeof(kTexts) / sizeof(kTexts[0]) == static_cast<int>(Text::Count),
              "every Text has exactly one catalogue entry");

}  // namespace

const char* textUtf8(Text text) { return kTexts[static_cast<int>(text)]; }
