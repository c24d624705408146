#pragma once

// The forms in which windows call the server. Server operations are
// synchronous and never throw; these decide where they run and how the user
// sees that they run.

#include <future>
#include <optional>
#include <system_error>
#include <type_traits>
#include <utility>

#include <wx/string.h>
#include <wx/utils.h>

#include "ui/request_wait.h"
#include "platform/http_cancel.h"
#include "ui/message_box.h"

class wxWindow;

// Result records say success in one of three ways; one reading for all.
template <class Result>
bool RequestSucceeded(const Result& result)
{
    if constexpr (requires { result.ok; })
        return result.ok;
    else if constexpr (requires { result.success; })
        return result.success;
    else
        return result.answered;
}

template <class Result>
wxString RequestError(const Result& result)
{
    if constexpr (requires { result.error; })
        return result.error;
    else
        return result.message;
}

// Runs `call` on a worker thread under the busy cursor while the window
// keeps answering (RequestWait). The cursor ends before any box is shown
// and also if `call` throws.
template <class Call>
decltype(auto) RunBusy(Call&& call)
{
    using Result = std::invoke_result_t<Call&>;
    if constexpr (std::is_void_v<Result>) {
        RequestWait::Run([&] { call(); });
    } else if constexpr (std::is_reference_v<Result>) {
        std::remove_reference_t<Result>* result = nullptr;
        RequestWait::Run([&] { result = &call(); });
        return static_cast<Result>(*result);
    } else {
        std::optional<Result> result;
        RequestWait::Run([&] { result.emplace(call()); });
        Result value = std::move(*result);
        return value;
    }
}

// The normal form: busy cursor, then an error box with `failureCaption` and
// the result's text when the result failed. The result is returned either way.
template <class Call>
auto BlockingRequest(wxWindow* parent, const wxString& failureCaption, Call&& call)
{
    auto result = RunBusy(std::forward<Call>(call));
    if (!RequestSucceeded(result))
        ShowErrorBox(parent, failureCaption, RequestError(result));
    return result;
}

// Two calls that overlap on their own threads; both are awaited, the first
// one first, under the same wait as RunBusy (Escape stops both).
template <class First, class Second>
auto ParallelPair(First&& first, Second&& second)
{
    return RunBusy([&] {
        platform::CancelToken* cancel = platform::CurrentCancelToken();
        auto start = [cancel](auto& call) {
            auto scoped = [cancel, &call] {
                std::optional<platform::CancelScope> scope;
                if (cancel) scope.emplace(*cancel);
                return call();
            };
            try {
                return std::async(std::launch::async, scoped);
            } catch (const std::system_error&) {
                // No thread to be had: run it here rather than fail the page.
                return std::async(std::launch::deferred, scoped);
            }
        };
        auto a = start(first);
        auto b = start(second);
        auto resultA = a.get();
        auto resultB = b.get();
        return std::make_pair(std::move(resultA), std::move(resultB));
    });
}
