#include "hart/HartLink.h"

HartLink::HartLink(QObject *parent) : QObject(parent) {}
