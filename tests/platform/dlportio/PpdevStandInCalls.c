/* The C library functions the ppdev stand-in answers in place of the
 * kernel, with their exact C prototypes. Each hands its call to
 * PpdevStandIn.cpp, which serves the stand-in device and passes everything
 * else on to the C library. */
#define _GNU_SOURCE
#include <fcntl.h>
#include <stdarg.h>
#include <sys/io.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

int dotvane_standin_open(const char* path, int flags, unsigned mode);
int dotvane_standin_fstat(int fd, struct stat* status);
int dotvane_standin_ioctl(int fd, unsigned long request, void* argument);
int dotvane_standin_close(int fd);
int dotvane_standin_ioperm(unsigned long from, unsigned long count, int on);
int dotvane_standin_iopl(int level);

static unsigned ModeArgument(int flags, va_list arguments)
{
    return (flags & O_CREAT) || (flags & __O_TMPFILE) ? va_arg(arguments, unsigned) : 0;
}

int open(const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const unsigned mode = ModeArgument(flags, arguments);
    va_end(arguments);
    return dotvane_standin_open(path, flags, mode);
}

int open64(const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const unsigned mode = ModeArgument(flags, arguments);
    va_end(arguments);
    return dotvane_standin_open(path, flags, mode);
}

int __open_2(const char* path, int flags) { return dotvane_standin_open(path, flags, 0); }
int __open64_2(const char* path, int flags) { return dotvane_standin_open(path, flags, 0); }

int fstat(int fd, struct stat* status) { return dotvane_standin_fstat(fd, status); }
_Static_assert(sizeof(struct stat64) == sizeof(struct stat), "one layout for both");
int fstat64(int fd, struct stat64* status) { return dotvane_standin_fstat(fd, (struct stat*)status); }

int ioctl(int fd, unsigned long request, ...)
{
    va_list arguments;
    va_start(arguments, request);
    void* argument = va_arg(arguments, void*);
    va_end(arguments);
    return dotvane_standin_ioctl(fd, request, argument);
}

int close(int fd) { return dotvane_standin_close(fd); }

int ioperm(unsigned long from, unsigned long count, int on) { return dotvane_standin_ioperm(from, count, on); }
int iopl(int level) { return dotvane_standin_iopl(level); }
