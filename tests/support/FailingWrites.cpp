#include "support/FailingWrites.h"

#include <csignal>
#include <stdexcept>

namespace testsupport {

bool FailAfter::write(std::string_view bytes)
{
    const std::size_t room = m_limit - m_written.size();
    m_written.append(bytes.substr(0, room));
    return bytes.size() <= room;
}

FileSizeLimit::FileSizeLimit(std::size_t bytes)
{
    if (getrlimit(RLIMIT_FSIZE, &m_old) != 0) {
        throw std::runtime_error("cannot read the file size limit");
    }
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = m_old;
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
        std::signal(SIGXFSZ, m_oldHandler);
        throw std::runtime_error("cannot set the file size limit");
    }
}

FileSizeLimit::~FileSizeLimit()
{
    setrlimit(RLIMIT_FSIZE, &m_old);
    std::signal(SIGXFSZ, m_oldHandler);
}

} // namespace testsupport
