#pragma once

#include <string>

// The three parsers that turn typed text into a frame count in a project's format.
// Each returns the frame count, or -1 when the text is refused. Leading and trailing
// blanks (space, tab, line feed, carriage return, form feed, vertical tab) are ignored.
//
// Every parser refuses a time that is negative or reaches 24 hours: a show time lies
// within one day, and a frame count outside it cannot be held by a timecode word.

// Exactly "hh:mm:ss:ff" or "hh;mm;ss;ff" (either separator in every format, not mixed),
// with hours 0..23, minutes and seconds 0..59 and frames below the format's rate.
int parseTimecodeStrict(const std::wstring& text, int format);

// The strict form, or else digits with optional colons, split from the right into frames,
// seconds, minutes and hours of two digits each ("1:30:00" is 1 minute 30 seconds). Groups
// have no range limit ("90" seconds is fine); text without numbers gives frame 0.
int parseTimecode(const std::wstring& text, int format);

// The strict form, or else a time in tenths of a second from 0 to 1300 (130 seconds).
int parseTimecodeOrTenths(const std::wstring& text, int format);
