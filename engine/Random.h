#pragma once
// Bounded uniform draws. Each draw makes its own 32-bit Mersenne Twister, seeded from the
// random device, or from a fixed sequence once seed() has been called (tools and tests;
// it also seeds the C runtime's rand()).
namespace cocos2d {
namespace Random {

int uniformInt(int low, int high);
void seed(unsigned int value);

} // namespace Random
} // namespace cocos2d
