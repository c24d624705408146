#include "audio/pulse_sinks.h"

#include <cstdlib>
#include <map>
#include <sstream>

namespace qtest {

PulseSinks::PulseSinks()
    : server_({"module-null-sink sink_name=a sink_properties=device.description=Alpha",
               "module-null-sink sink_name=b sink_properties=device.description=Beta"}) {
    available_ = server_.running();
    if (available_) setenv("PULSE_SERVER", server_.address().c_str(), 1);
}

PulseSinks::~PulseSinks() {
    if (Available()) unsetenv("PULSE_SERVER");
}

void PulseSinks::SetDefault(const std::string& sink) const { server_.Pactl("set-default-sink " + sink); }

void PulseSinks::AddSink() const {
    server_.Pactl("load-module module-null-sink sink_name=c sink_properties=device.description=Gamma");
}

void PulseSinks::Suspend(const std::string& sink) const { server_.Pactl("suspend-sink " + sink + " 1"); }

std::string PulseSinks::SinksOfStreams() const {
    std::map<std::string, std::string> sinkNames;  // index -> name
    std::istringstream sinks(server_.Pactl("list short sinks"));
    for (std::string line; std::getline(sinks, line);) {
        std::istringstream fields(line);
        std::string index, name;
        fields >> index >> name;
        sinkNames[index] = name;
    }
    std::string result;
    std::istringstream inputs(server_.Pactl("list short sink-inputs"));
    for (std::string line; std::getline(inputs, line);) {
        std::istringstream fields(line);
        std::string index, sink;
        fields >> index >> sink;
        result += sinkNames.count(sink) ? sinkNames[sink] : "?";
    }
    return result;
}

}  // namespace qtest
