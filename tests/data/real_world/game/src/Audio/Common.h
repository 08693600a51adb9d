#pragma once
struct AudioState { int samples; };
enum Channel { Left, Right };
