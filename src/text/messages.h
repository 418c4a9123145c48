// The catalogue of every text the tool prints, kept readable as UTF-8 in one place.
// Texts go out as their code page 932 bytes; console.h does the conversion once.
#pragma once

enum class Text : int {
  // Start-up and command line
  Banner,
  Usage,
  UsageOutput,
  Version,
  MissingNameAfterOption,
  HalfFontMissing,
  FullFontMissing,
  HalfFontConverting,
  FullFontConverting,
  // Font reading
  FontOpenError,
  HalfFontSizeMismatch,
  FullFontSizeMismatch,
  HalfCodesIgnored,
  FullCodesIgnored,
  // ROM image and files
  HalfIndexHeading,
  FullIndexHeading,
  FullGlyphsLeftOut,
  WrittenSlotCount,
  FileWriteError,
  FileNotUpdated,
  // Glyph marks
  InkMark,
  PaperMark,
  // Build report
  ReportHalfHeading,
  ReportHalfIndexLabel,
  ReportHalfIndexCell,
  BlankLines,
  ReportFullHeading,
  ReportBlockIndexLabel,
  ReportBlockIndexCell,
  ReportBlockIndexBlank,
  ReportFullRowLabel,
  ReportFullRowCell,
  ReportFullRowBlank,
  LineEnd,
  ReportHalfGlyphHeader,
  ReportFullGlyphHeader,
  // Read-back check
  DumpHeading,
  DumpHalfIndexLabel,
  DumpIndexCell,
  DumpHalfCount,
  DumpBlockIndexLabel,
  DumpBlockCount,
  DumpBlockRowLabel,
  DumpBlockRowCell,
  DumpFullCount,
  DumpSlotCount,
  DumpHalfHeading,
  DumpHalfGlyphHeader,
  DumpFullHeading,
  DumpFullGlyphHeader,
  Count
};

// The UTF-8 source form of a text (a printf format where it takes arguments).
const char* textUtf8(Text text);
