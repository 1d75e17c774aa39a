// Floods the discovery port with a mix of hostile datagrams, from inside a
// mixer namespace of the test LAN (never run it anywhere else):
//
//   lan-flood-sender --to A[,B...] --count N --seconds S [--senders A-B]
//                    [--ip-values K] [--seed X] [--port P]
//
// The mix, drawn from a seeded generator so every run sends the same bytes:
//   garbage     random bytes of 1 to 1472
//   oversized   8 KB to 64 KB: random bytes, a marker with a huge name, an
//               announcement whose URL lies beyond the first 1024 bytes
//   near-miss   marker look-alikes that fail one test each
//   marker      well-formed markers carrying K different Ip= values in turn
//               (10.200.0.1 on), so that K markers claim K addresses
//   announce    announcements, from the --senders addresses in turn
//               (bound transparently: nothing in the LAN holds them, so
//               the launcher's description requests to them go unanswered)
// Destinations are taken in turn from --to. Progress goes to standard output
// ("flood ready", "flood progress P" every 10 %, "flood done sent=N failed=F").
#include <arpa/inet.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Options
{
    std::vector<in_addr> targets;
    long count = 100000;
    double seconds = 8.0;
    in_addr_t firstSender = 0;
    in_addr_t lastSender = 0;
    int ipValues = 5000;
    unsigned seed = 1;
    int port = 45454;
};

[[noreturn]] void fail(const std::string &why)
{
    std::fprintf(stderr, "lan-flood-sender: %s\n", why.c_str());
    std::exit(2);
}

in_addr parseAddress(const std::string &text)
{
    in_addr address{};
    if (inet_pton(AF_INET, text.c_str(), &address) != 1)
        fail("not an IPv4 address: " + text);
    return address;
}

Options parseOptions(int argc, char **argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        const std::string value = argv[i + 1];
        if (key == "--to") {
            std::stringstream list(value);
            std::string item;
            while (std::getline(list, item, ','))
                options.targets.push_back(parseAddress(item));
        } else if (key == "--count") {
            options.count = std::atol(value.c_str());
        } else if (key == "--seconds") {
            options.seconds = std::atof(value.c_str());
        } else if (key == "--senders") {
            const auto dash = value.find('-');
            if (dash == std::string::npos)
                fail("--senders needs A-B");
            options.firstSender = ntohl(parseAddress(value.substr(0, dash)).s_addr);
            options.lastSender = ntohl(parseAddress(value.substr(dash + 1)).s_addr);
        } else if (key == "--ip-values") {
            options.ipValues = std::atoi(value.c_str());
        } else if (key == "--seed") {
            options.seed = unsigned(std::atol(value.c_str()));
        } else if (key == "--port") {
            options.port = std::atoi(value.c_str());
        } else {
            fail("unknown option " + key);
        }
    }
    if (options.targets.empty() || options.count <= 0 || options.ipValues <= 0 ||
        options.lastSender < options.firstSender)
        fail("usage: --to A[,B...] --count N --seconds S [--senders A-B] [--ip-values K]");
    return options;
}

int udpSocket(in_addr_t bindTo)
{
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0)
        fail("socket");
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    // Transparent and free-bound: a source address that no interface holds.
    setsockopt(fd, IPPROTO_IP, IP_FREEBIND, &on, sizeof on);
    setsockopt(fd, IPPROTO_IP, IP_TRANSPARENT, &on, sizeof on);
    if (bindTo != 0) {
        // Group sends from a source that no interface holds need the
        // interface named; the route alone does not do.
        ip_mreqn interface {
        };
        interface.imr_ifindex = int(if_nametoindex("eth0"));
        setsockopt(fd, IPPROTO_IP, IP_MULTICAST_IF, &interface, sizeof interface);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(bindTo);
        if (bind(fd, reinterpret_cast<sockaddr *>(&local), sizeof local) != 0)
            fail("bind");
    }
    return fd;
}

std::string dotted(in_addr_t hostOrder)
{
    in_addr address{htonl(hostOrder)};
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &address, text, sizeof text);
    return text;
}

class Mix
{
public:
    explicit Mix(const Options &options) : options(options), random(options.seed) {}

    enum Kind { Garbage, Oversized, NearMiss, Marker, Announce };

    Kind nextKind()
    {
        const int roll = int(random() % 100);
        if (roll < 20)
            return Garbage;
        if (roll < 22)
            return Oversized;
        if (roll < 42)
            return NearMiss;
        if (roll < 82 || options.firstSender == 0)
            return Marker;
        return Announce;
    }

    std::string garbage(size_t minimum, size_t maximum)
    {
        std::string bytes(minimum + random() % (maximum - minimum + 1), '\0');
        for (char &byte : bytes)
            byte = char(random() & 0xFF);
        return bytes;
    }

    std::string oversized()
    {
        const size_t size = 8000 + random() % 52000;
        switch (random() % 3) {
            case 0:
                return garbage(size, size);
            case 1:
                // Few addresses, so the huge names cost a bounded amount.
                return "DIGITAL_MIXER_DLNA|Name=" + std::string(size, 'N') + "|Ip=10.199.0." +
                       std::to_string(random() % 20) + "|Mode=Big|";
            default:
                return std::string(1100, 'x') + "LOCATION: http://10.77.9.9:8200/rootDesc.xml" +
                       std::string(size, 'y');
        }
    }

    std::string nearMiss()
    {
        const std::string ip = "10.202.0." + std::to_string(random() % 250);
        static const char *const shapes[] = {
            "DIGITAL_MIXER_DLNA|Name=A|Ip=%|Mode=B",     // four fields
            "DIGITAL_MIXER_DLNA|Name=A|Ip=%|Mode=B||",   // six fields
            "DIGITAL_MIXER_DLNA|Name=|Ip=%|Mode=B|",     // empty name
            "DIGITAL_MIXER_DLNA|Name=A|Ip=|Mode=B|",     // empty address
            "DIGITAL_MIXER_DLNA|Name=A|Ip=%|Mode=|",     // empty model
            "digital_mixer_dlna|Name=A|Ip=%|Mode=B|",    // wrong case
            "DIGITAL_MIXER_DLNA Name=A|Ip=%|Mode=B|x|",  // marker without its bar
            "DIGITAL_MIXER_DLNA|Nome=A|Ip=%|Mode=B|",    // misspelt key
            "DIGITAL_MIXER_DLNA|Name=A|IP=%|Mode=B|",    // key in the wrong case
            "http://%:8201/rootDesc.xml",                // wrong port
            "HTTP://%:8200/rootDesc.xml",                // scheme in capitals
            "M-SEARCH * HTTP/1.1\r\nHOST:239.255.255.250:1900\r\n\r\n",
        };
        std::string text = shapes[random() % (sizeof shapes / sizeof *shapes)];
        const auto at = text.find('%');
        if (at != std::string::npos)
            text.replace(at, 1, ip);
        // NULs and broken UTF-8 before or after the text, where they cannot
        // turn a look-alike into a valid marker.
        if (random() % 4 == 0)
            text.insert(random() % 2 ? 0 : text.size(), 1, '\0');
        if (random() % 4 == 0)
            text.insert(random() % 2 ? 0 : text.size(), "\xff\xfe\xc3");
        return text;
    }

    std::string marker()
    {
        const in_addr_t value = in_addr_t(markersMade++ % options.ipValues);
        return "DIGITAL_MIXER_DLNA|Name=Flood " + std::to_string(value) +
               "|Ip=" + dotted(firstMarkerAddress + value) + "|Mode=FL-" +
               std::to_string(value % 7) + "|";
    }

    std::string announcement()
    {
        const std::string named =
            random() % 2 ? "10.77.9.9" : dotted(options.firstSender);  // any host will do
        return "HTTP/1.1 200 OK\r\nCACHE-CONTROL: max-age=1800\r\nLOCATION: http://" + named +
               ":8200/rootDesc.xml\r\nST: upnp:rootdevice\r\nUSN: uuid:flood\r\n\r\n";
    }

    // The senders in turn, so that every one of them announces itself early
    // and often, however many datagrams the receiver drops.
    in_addr_t nextSender()
    {
        return options.firstSender +
               in_addr_t(announcementsMade++ % (options.lastSender - options.firstSender + 1));
    }

private:
    // 10.200.0.1
    static constexpr in_addr_t firstMarkerAddress = (10u << 24) | (200u << 16) | 1u;

    const Options &options;
    std::mt19937 random;
    long markersMade = 0;
    long announcementsMade = 0;
};

}  // namespace

int main(int argc, char **argv)
{
    const Options options = parseOptions(argc, argv);
    Mix mix(options);

    const int plain = udpSocket(0);
    std::vector<int> senders;
    if (options.firstSender != 0) {
        // One socket per sender, and more senders than a search may ask
        // (over a thousand) pass the usual soft limit of open files.
        rlimit files{};
        const rlim_t wanted = rlim_t(options.lastSender - options.firstSender) + 64;
        if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < wanted) {
            files.rlim_cur = std::min(wanted, files.rlim_max);
            setrlimit(RLIMIT_NOFILE, &files);
        }
        for (in_addr_t a = options.firstSender; a <= options.lastSender; ++a)
            senders.push_back(udpSocket(a));
    }
    std::printf("flood ready\n");
    std::fflush(stdout);

    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    long sent = 0;
    long failed = 0;
    int reported = 0;
    for (long i = 0; i < options.count; ++i) {
        // Paced: datagram i is not sent before i / count of the time.
        const auto due = start + std::chrono::duration<double>(options.seconds * double(i) /
                                                               double(options.count));
        if (Clock::now() < due)
            std::this_thread::sleep_until(due);

        int fd = plain;
        std::string payload;
        switch (mix.nextKind()) {
            case Mix::Garbage:
                payload = mix.garbage(1, 1472);
                break;
            case Mix::Oversized:
                payload = mix.oversized();
                break;
            case Mix::NearMiss:
                payload = mix.nearMiss();
                break;
            case Mix::Marker:
                payload = mix.marker();
                break;
            case Mix::Announce:
                payload = mix.announcement();
                fd = senders.at(mix.nextSender() - options.firstSender);
                break;
        }
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(uint16_t(options.port));
        to.sin_addr = options.targets[size_t(i) % options.targets.size()];
        if (sendto(fd, payload.data(), payload.size(), 0, reinterpret_cast<sockaddr *>(&to),
                   sizeof to) == ssize_t(payload.size()))
            ++sent;
        else if (++failed == 1)
            std::fprintf(stderr, "lan-flood-sender: first failed send: %s\n", std::strerror(errno));
        const int percent = int((i + 1) * 100 / options.count);
        if (percent / 10 > reported) {
            reported = percent / 10;
            std::printf("flood progress %d\n", reported * 10);
            std::fflush(stdout);
        }
    }
    std::printf("flood done sent=%ld failed=%ld\n", sent, failed);
    std::fflush(stdout);
    for (const int fd : senders)
        close(fd);
    close(plain);
    return 0;
}
