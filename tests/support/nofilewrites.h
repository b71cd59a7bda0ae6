#ifndef NOFILEWRITES_H
#define NOFILEWRITES_H

#include <csignal>
#include <sys/resource.h>

// While one lives, no file of this process can grow past zero bytes, as on a full disk:
// writes fail even for root, whom folder permissions do not stop.
class NoFileWrites
{
public:
    NoFileWrites()
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit none = m_old;
        none.rlim_cur = 0;
        setrlimit(RLIMIT_FSIZE, &none);
    }
    ~NoFileWrites() { setrlimit(RLIMIT_FSIZE, &m_old); }
    NoFileWrites(const NoFileWrites &) = delete;
    NoFileWrites &operator=(const NoFileWrites &) = delete;

private:
    rlimit m_old;
};

#endif
