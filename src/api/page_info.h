#pragma once

#include <cstdint>

// Paging group of a list answer. A list result starts out with the page it
// asked for, so even a failed answer still says which page it was about.
struct PageInfo
{
    int32_t pageNum = 1;
    int32_t pageSize = 20;
    int32_t pages = 1;
    int32_t total = 0;
};
