#include "device/HartLink.h"

HartLink::HartLink(QObject *parent) : QObject(parent) {}
