#pragma once

// Which parts of a record or sequence to register.
enum enmRegMask : qint16
{
    REGISTER_STATE = 1,
    REGISTER_CONTROL = 2,
    REGISTER_RESPONSE = 4,
};
