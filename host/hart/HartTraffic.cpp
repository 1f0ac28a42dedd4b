#include "hart/HartTraffic.h"

#include <chrono>

qint64 HartTraffic::now()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}
