// The build report: romImage's index tables and every glyph drawn from memory, right after the build.
#pragma once

void printBuildReport();
