#pragma once

// Records passed between the UI thread and a search worker.

#include <cstdint>

#include <wx/string.h>

#include "api/forum_records.h"

// What a worker needs to run one search; built on the UI thread.
struct SearchTicket
{
    uint64_t searchId = 0;
    wxString keyword;
    int32_t pageNum = 1;
};

// What a worker hands back.
struct SearchOutcome
{
    uint64_t searchId = 0;
    wxString keyword;
    int32_t pageNum = 1;
    PostListPage page;
};
