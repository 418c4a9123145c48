// Start-up step that makes every file function read a narrow file name in the same encoding.
#pragma once

// Called once, first thing in main. On Windows the command line's arguments and std::fopen use the ANSI code
// page (932 on a Japanese system) while std::filesystem converts narrow names through the C runtime's
// multibyte code page, which starts out as the "C" locale's; this sets that code page to the ANSI one so that
// both name the same file. Elsewhere file names are plain bytes and nothing is done.
void prepareFileNames();
