#pragma once
// How every core operation reports: its value, or a failure that a front end
// can put into words. A failure names a catalog entry (with the text that
// follows it) or, where the catalog has none, carries a plain text.

#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "core/MessageIds.h"

namespace veldra {

enum class FailureKind {
    Error,         // to be told to the user
    Declined,      // the user answered a question with no: nothing was changed
    AlreadyShown,  // the user has seen the message already (a message box of the workflow)
};

struct Failure {
    std::optional<Msg> message;  // the catalog entry shown first, if any
    std::string detail;          // appended to the entry, or the whole text without one
    FailureKind kind = FailureKind::Error;

    friend bool operator==(const Failure&, const Failure&) = default;
};

inline Failure fail(Msg message, std::string detail = {}) { return Failure{message, std::move(detail)}; }
inline Failure fail(std::string text) { return Failure{std::nullopt, std::move(text)}; }
inline Failure declined() { return Failure{std::nullopt, {}, FailureKind::Declined}; }
inline Failure alreadyShown() { return Failure{std::nullopt, {}, FailureKind::AlreadyShown}; }

template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }

    const Failure& failure() const { return std::get<1>(state_); }

private:
    std::variant<T, Failure> state_;
};

template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure) : failure_(std::move(failure)) {}

    bool ok() const { return !failure_; }
    explicit operator bool() const { return ok(); }
    const Failure& failure() const { return *failure_; }

private:
    std::optional<Failure> failure_;
};

using Status = Result<void>;

}  // namespace veldra
