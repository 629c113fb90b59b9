#pragma once
int LowValue();
