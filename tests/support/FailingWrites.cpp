#include "support/FailingWrites.h"

namespace testsupport {

bool FailAfter::write(std::string_view bytes)
{
    const std::size_t room = m_limit - m_written.size();
    m_written.append(bytes.substr(0, room));
    return bytes.size() <= room;
}

} // namespace testsupport
