#pragma once
// What an operation that can fail returns: its value (or nothing) on success, else a
// Failure that carries the message the user is shown and the file it is about. Core
// decides the message; the window or the terminal only shows it.

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace vorbix {

struct Failure {
    std::string Message; // as the user sees it: "Cannot create file /x/Data/programs.xml"
    std::string Path; // the file concerned; empty when the failure is about no file

    static Failure CannotOpen(const std::string& path) { return {"Cannot open file " + path, path}; }
    static Failure CannotCreate(const std::string& path) { return {"Cannot create file " + path, path}; }
    // A text that should have been a decimal integer.
    static Failure NotAnInteger(const std::string& text) { return {"'" + text + "' is not a valid integer value", {}}; }

    bool operator==(const Failure&) const = default;
};

template <typename T>
class [[nodiscard]] Result {
public:
    // A value and a failure both convert to their Result, so that a function returns either
    // as it stands.
    // cppcheck-suppress noExplicitConstructor
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    // cppcheck-suppress noExplicitConstructor
    Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool Ok() const { return state_.index() == 0; }
    explicit operator bool() const { return Ok(); }

    // Only on success.
    T& Value() & { return std::get<0>(state_); }
    const T& Value() const& { return std::get<0>(state_); }
    // Moved out of a result that is going away, so that a loop over a returned result's
    // value never holds a reference into the gone result.
    T Value() && { return std::get<0>(std::move(state_)); }
    // Only on failure.
    const Failure& Error() const { return std::get<1>(state_); }
    const std::string& Message() const { return Error().Message; }

private:
    std::variant<T, Failure> state_;
};

template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    // cppcheck-suppress noExplicitConstructor ; a failure converts to its Status, as above
    Result(Failure failure) : failure_(std::move(failure)) {}

    bool Ok() const { return !failure_.has_value(); }
    explicit operator bool() const { return Ok(); }

    // Only on failure.
    const Failure& Error() const { return *failure_; }
    const std::string& Message() const { return failure_->Message; }

private:
    std::optional<Failure> failure_;
};

// An operation that returns nothing but may fail.
using Status = Result<void>;

} // namespace vorbix
