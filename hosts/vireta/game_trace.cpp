#include "game_trace.h"

#include <cstdint>

#include "core/game_state.h"
#include "platform/host/clock.h"
#include "sensor/tilt_sensor.h"

namespace {

void WriteState(kit::TraceWriter& trace) {
  trace.Field("racePhase", static_cast<std::int64_t>(game.racePhase))
      .Field("carX", game.carX)
      .Field("carY", std::int64_t{game.carY})
      .Field("carFrame", std::int64_t{game.carFrame})
      .Field("lateralSpeed", game.lateralSpeed)
      .Field("speed", game.speed)
      .Field("shownSpeed", game.shownSpeed)
      .Field("roadTop", std::int64_t{game.roadTop})
      .Field("roadIndex", std::int64_t{game.roadIndex})
      .Field("offRoad", std::int64_t{game.offRoad})
      .Field("ticks", game.ticks)
      .Field("lapTime", game.lapTime)
      .Field("bestTime", game.bestTime)
      .Field("clientWidth", std::int64_t{game.clientWidth})
      .Field("clientHeight", std::int64_t{game.clientHeight})
      .Field("ready", std::int64_t{game.ready})
      .End();
}

}  // namespace

void TraceGameState(const headless::HandledMessage& handled, kit::TraceWriter& trace) {
  if (!handled.toMain) {
    return;
  }
  const MSG& message = handled.message;
  const auto ms = static_cast<std::int64_t>(handset::host::Now());
  if (message.message == WM_TIMER && !handled.sent) {
    // The tick read the sensor exactly when the core let it: ready and open.
    const bool read = game.ready == 1 && sensorOpen != FALSE;
    trace.Begin("tick").Field("ms", ms).Field("read", read);
    if (read) {
      trace.Field("throttleAngle", static_cast<std::int64_t>(tiltSample.throttleAngle))
          .Field("steerAngle", static_cast<std::int64_t>(tiltSample.steerAngle));
    }
    WriteState(trace);
  } else if (message.message == WM_PAINT) {
    trace.Begin("paint").Field("ms", ms);
    WriteState(trace);
  }
}
