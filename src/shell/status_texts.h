// The texts of the status displays, worked out from the session record: the
// status bar's five parts, the header strip's lag and time online, the clock
// pane, the own-nick label and the people header.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "session/session_state.h"

enum {
    kStatusBarParts = 5,
    kStatusPartCap = 3 * 160,  // bytes, a character up to 3
    kPaneTextCap = 3 * 96,
};

// The five status-bar parts: nick, server and port; room; people; lag;
// role word. While not connected the first says how to connect and the
// others are empty.
void statusBarTexts(const SessionState& s, char parts[kStatusBarParts][kStatusPartCap]);

// Milliseconds online at tick now: the two ticks subtracted as unsigned
// 32-bit numbers, so one wrap of the tick counter between them is harmless.
uint32_t millisecondsOnline(uint32_t now, uint32_t connectTick);

// "hh:mm:ss" of a time in milliseconds; hours are not reduced modulo 24 and
// take more digits past 99.
size_t formatTimeOnline(uint32_t ms, char* out, size_t cap);

// Header strip: "Лаг %d мс" while connected, else "не в сети"; the time
// online while connected, else "--:--:--".
size_t headerLagText(const SessionState& s, char* out, size_t cap);
size_t headerTimeText(const SessionState& s, uint32_t now, char* out, size_t cap);

// Clock pane: the time online while connected, else "00:00:00".
size_t clockText(const SessionState& s, uint32_t now, char* out, size_t cap);

// Own-nick label: "nick:" while connected, else "не в сети:".
size_t ownNickLabelText(const SessionState& s, char* out, size_t cap);

// People header: "Сейчас в чате: %d" with the user count.
size_t peopleHeaderText(const SessionState& s, char* out, size_t cap);
