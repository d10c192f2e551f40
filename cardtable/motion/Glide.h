// The process-wide glide speed: pixels per frame of every card glide.
#pragma once

void SetMoveSpeed(int n);
double GetMoveSpeed();
