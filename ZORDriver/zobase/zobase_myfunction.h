#pragma once

// Strings and paths.

#include "zobase_mytype.h"

char* _my_strupr(char* str);    // a-z to A-Z in place; returns str
char* _my_strlwr(char* str);    // A-Z to a-z in place; returns str
// Case-insensitive (ASCII) compare: the difference of the first differing
// folded characters; when str1 ends, 0 minus the next character of str2.
int _my_stricmp(const char* str1, const char* str2);
// Clears buffer (size bytes) and fills it with at most size - 1 bytes of the
// command's output, so it stays a terminated text.
void _my_exeshell(const char* shell, char* buffer, int size);
// Copies from head up to tail (exclusive), at most size characters, through
// the first line feed or carriage return; returns the count (text is not
// terminated).
int _my_getstrline(const char* head, const char* tail, char* text, int size);
// "a.b.c" -> a | b << 8 | c << 24; a missing part repeats the last one read
// ("1.2" gives 1, 2, 2). str is not modified; len is not used.
u32 _my_getverfromstr(const char* str, int len);
// Appends "/" (unless fullpath is empty or ends in "/" or "\") and path;
// returns the new length. fullpath must have room for the result.
int _my_combinepath(char* fullpath, const char* path);
int _my_combinepath2(char* fullpath, const char* path1, const char* path2);
