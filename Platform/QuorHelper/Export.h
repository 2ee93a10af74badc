#pragma once

#define QUORHELPER_API __attribute__((visibility("default")))
