// The texts that numbers of the library turn into wherever they are shown or
// stored: plain numbers, playing times, file sizes and style names.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Style codes of songs and entries; drop-down item i stands for 2001 + i.
constexpr int kFirstStyleCode = 2001;
constexpr int kStyleCount = 16;

// Signed decimal, no leading zeros or grouping ("-3", "2960384").
std::string FormatNumber(std::int64_t number);

// Minutes and seconds, "MM:SS", minutes never reduced by hours (3725 gives
// "62:05"); "Unknown" for 0 or less.
std::string FormatDuration(int seconds);

// Hours, minutes and seconds, "HH:MM:SS"; "Unknown" for 0 or less.
std::string FormatLongDuration(int seconds);

// Thousands (not 1024s) of bytes with "KB", remainder dropped: 2960384 gives
// "2960KB". A negative size, which no file has, shows as "0KB".
std::string FormatSizeKB(std::int64_t bytes);

// The name of a style code; "未知" for every code outside 2001 to 2015.
std::string StyleName(int code);

// The sixteen names in code order, as the edit dialogs' drop-downs list them.
const std::vector<std::string>& StyleNames();

// The drop-down item of a style code; codes without a name of their own get
// the item of "未知", the name StyleName gives them.
int StyleIndexOf(int code);
// The style code of a drop-down item (2016, "未知", for an item past the list).
int StyleCodeAt(int index);
