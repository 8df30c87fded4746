#pragma once

#include "platform/ShortcutCombination.h"

#include <functional>
#include <optional>
#include <utility>

namespace quillor {

// Swaps one registered hot key for another without ever losing the working
// one: the new combination is registered before the old one is released, and
// any failure leaves the previous registration in force. Token is whatever one
// registration hands back (for the X11 layer, the hot key's identifier).
template <typename Token>
class ShortcutTransaction {
public:
    using Register = std::function<Token(const ShortcutCombination&)>;
    using Unregister = std::function<void(const Token&)>;
    using Persist = std::function<void()>;

    ShortcutTransaction(Register registerCombination, Unregister unregisterToken)
        : m_register(std::move(registerCombination)), m_unregister(std::move(unregisterToken))
    {
    }

    const std::optional<ShortcutCombination>& active() const { return m_active; }
    const std::optional<Token>& token() const { return m_token; }

    // Failures of the registration or of persist propagate; the transaction is
    // then exactly as it was before the call.
    void change(const ShortcutCombination& next, const Persist& persist = {})
    {
        if (m_token && m_active && m_active->code == next.code && m_active->modifiers == next.modifiers) {
            // Same keys: nothing to re-register, and the live label stays.
            if (persist)
                persist();
            return;
        }
        Token fresh = m_register(next);
        if (persist) {
            try {
                persist();
            } catch (...) {
                m_unregister(fresh);
                throw;
            }
        }
        if (m_token)
            m_unregister(*m_token);
        m_active = next;
        m_token = std::move(fresh);
    }

    void invalidate()
    {
        if (m_token)
            m_unregister(*m_token);
        m_token.reset();
        m_active.reset();
    }

    // Releases the live registration but remembers the combination, so that it
    // can be pressed elsewhere (the recorder) and registered again afterwards.
    void suspend()
    {
        if (m_token)
            m_unregister(*m_token);
        m_token.reset();
    }

    // Registers the remembered combination again; a failure propagates and the
    // transaction stays suspended.
    void resume()
    {
        if (!m_token && m_active)
            m_token = m_register(*m_active);
    }

private:
    Register m_register;
    Unregister m_unregister;
    std::optional<ShortcutCombination> m_active;
    std::optional<Token> m_token;
};

} // namespace quillor
