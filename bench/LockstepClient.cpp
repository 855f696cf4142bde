// The least possible lock-step update client, the yardstick of the update benchmark: plain
// blocking sockets, one send and one read per request, no time-outs, no events, no reporting.
// Usage: zfu-bench-lockstep FILE ADDRESS [PORT]; exit status 0 when the radio programmed.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr int BLOCK = 1024;

// One request and one read of its reply; true when the status byte accepts.
bool Exchange(int fd, unsigned char command, const unsigned char* data, int length, unsigned char* reply)
{
    unsigned char request[8 + BLOCK] = {0x10, command, static_cast<unsigned char>(length & 0xFF),
                                        static_cast<unsigned char>(length >> 8)};
    if (length > 0)
        std::memcpy(request + 8, data, size_t(length));
    if (::send(fd, request, size_t(8 + length), 0) != 8 + length)
        return false;
    std::memset(reply, 0, 1032);
    if (::recv(fd, reply, 1032, 0) < 2)
        return false;
    return reply[1] == ' ' || reply[1] == '!';
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s FILE ADDRESS [PORT]\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<unsigned char> image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (image.size() < BLOCK)
        return 3;

    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(argc > 3 ? std::atoi(argv[3]) : 1111);
    if (::inet_pton(AF_INET, argv[2], &addr.sin_addr) != 1
        || ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
        return 4;
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);

    unsigned char reply[1032];
    const size_t blocks = image.size() / BLOCK;
    bool ok = Exchange(fd, 3, nullptr, 0, reply) && Exchange(fd, 0, image.data(), BLOCK, reply)
              && std::memcmp(reply + 2, image.data() + 4, 4) == 0;
    for (size_t i = 1; ok && i < blocks; ++i)
        ok = Exchange(fd, 0, image.data() + i * BLOCK, BLOCK, reply);
    ok = ok && Exchange(fd, 0, image.data() + blocks * BLOCK, int(image.size() % BLOCK), reply)
         && Exchange(fd, 2, nullptr, 0, reply);
    ::close(fd);
    return ok ? 0 : 5;
}
