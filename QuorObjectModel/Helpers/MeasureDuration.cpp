#include <Quor/MeasureDuration.h>

#include <utility>

#include <Quor/Log.h>

namespace Quor {

namespace {

// boost's default format with 6 places, without its leading blank and its line end.
std::string TimingText(const boost::timer::cpu_times& times) {
  const std::string text = boost::timer::format(times, 6);
  return text.size() < 2 ? std::string() : text.substr(1, text.size() - 2);
}

}  // namespace

MeasureDuration::MeasureDuration(std::string message,
                                 boost::optional<boost::chrono::nanoseconds> threshold)
    : m_message(std::move(message)), m_threshold(threshold) {}

MeasureDuration::~MeasureDuration() {
  const boost::timer::cpu_times times = m_timer.elapsed();
  if (m_threshold) {
    if (boost::chrono::nanoseconds(times.wall) < *m_threshold) {
      return;
    }
    QUOR_LOG_INFO(m_message << TimingText(times));
  } else {
    QUOR_LOG_DEBUG(m_message << TimingText(times));
  }
}

}  // namespace Quor
