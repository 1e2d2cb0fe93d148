// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <semaphore>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

// Writes past `bytes` into any file fail with EFBIG, as on a full disk, until destroyed.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &m_saved); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved;
};

// Takes every free file descriptor (under a lowered limit), so that opening a file fails with
// EMFILE, and gives them back from another thread a moment after Release(). The thread starts
// first: nothing should need a descriptor to start it (sanitizers do).
class DescriptorShortage
{
public:
    DescriptorShortage()
        : m_releaser([this] {
              m_released.acquire();
              std::this_thread::sleep_for(std::chrono::milliseconds(100));
              GiveBack();
          })
    {
        ::getrlimit(RLIMIT_NOFILE, &m_saved);
        rlimit limit = m_saved;
        limit.rlim_cur = std::min<rlim_t>(m_saved.rlim_cur, 128);
        ::setrlimit(RLIMIT_NOFILE, &limit);
        for (int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC); fd >= 0;
             fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC))
            m_taken.append(fd);
    }
    ~DescriptorShortage()
    {
        if (!m_releasing)
            Release();
        m_releaser.join();
    }
    DescriptorShortage(const DescriptorShortage&) = delete;
    DescriptorShortage& operator=(const DescriptorShortage&) = delete;

    bool Holds() const
    {
        const int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return errno == EMFILE;
        ::close(fd);
        return false;
    }
    void Release()
    {
        m_releasing = true;
        m_released.release();
    }

private:
    void GiveBack()
    {
        for (const int fd : m_taken)
            ::close(fd);
        ::setrlimit(RLIMIT_NOFILE, &m_saved);
    }

    rlimit m_saved;
    QList<int> m_taken;
    bool m_releasing = false;
    std::binary_semaphore m_released{0};
    std::thread m_releaser;
};
