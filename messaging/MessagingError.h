#pragma once

#include "core/Error.h"

namespace carvendo::messaging {

// A message that did not leave: the mail server or the SMS gateway could not be reached or refused
// it, or what the operator filled in cannot be sent (a refusal).
class MessagingError : public core::Error
{
public:
    using core::Error::Error;
};

} // namespace carvendo::messaging
