// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReferenceChain.h"

#include "ReferenceWaveshaper.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

double ReferenceChain::largestHistory() const
{
    double largest = 0.0;
    for (const ReferenceSection* sections : {mHighShelf, mHighPass, mLowPass, mMidBell, mLowShelf})
        largest = std::max({largest, sections[0].largestHistory(), sections[1].largestHistory()});
    return largest;
}

void ReferenceChain::clearOversampling()
{
    for (int ch = 0; ch < 2; ++ch) {
        mUp[ch].clear();
        mDown[ch].clear();
    }
}

void ReferenceChain::reset(double /*sampleRate*/)
{
    clearOversampling();
    for (ReferenceSection* sections : {mHighShelf, mHighPass, mLowPass, mMidBell, mLowShelf}) {
        sections[0].clear();
        sections[1].clear();
    }
    mStartAtTargets = true;
}

void ReferenceChain::process(const double* const in[2], double* const out[2], int frames,
                             const ChainSettings& settings)
{
    const int n = settings.oversampling >= 1 ? settings.oversampling : 1;
    if (n != mFactor) {
        clearOversampling();
        mFactor = n;
    }
    for (int ch = 0; ch < 2; ++ch)
        ReferenceTenTapFilter::design(n, mG[ch], mC[ch]);
    if (frames < 1)
        return;

    if (mStartAtTargets) {
        mHighShelfSmoother.state = settings.highShelf;
        mHighPassSmoother.state = settings.highPass;
        mLowPassSmoother.state = -settings.lowPass;
        mMidBellSmoother.state = settings.midBell;
        mLowShelfSmoother.state = settings.lowShelf;
        mStartAtTargets = false;
    }

    const double drive = std::pow(10.0, 1.0);
    const double mix = std::pow(10.0, -1.5);

    for (int k = 0; k < frames; ++k) {
        const double fs = settings.sampleRate;
        Smoother* smoothers[5] = {&mHighShelfSmoother, &mHighPassSmoother, &mLowPassSmoother, &mMidBellSmoother,
                                  &mLowShelfSmoother};
        for (Smoother* s : smoothers) {
            s->d = std::exp((1 / fs) * (-6.283185307179586));
            s->oneMinusD = 1 - s->d;
        }

        for (int ch = 0; ch < 2; ++ch)
            mHighShelf[ch].setHighShelf(1 - mHighShelfSmoother.step(settings.highShelf), fs);
        for (int ch = 0; ch < 2; ++ch) {
            const double f1 = mHighPassSmoother.step(settings.highPass);
            const double f2 = mHighPassSmoother.step(settings.highPass);
            mHighPass[ch].setHighPass(1 - f2, 1 - f1, fs);
        }
        for (int ch = 0; ch < 2; ++ch) {
            const double g1 = mLowPassSmoother.step(-settings.lowPass);
            const double g2 = mLowPassSmoother.step(-settings.lowPass);
            mLowPass[ch].setLowPass(g2, g1, fs);
        }
        for (int ch = 0; ch < 2; ++ch)
            mMidBell[ch].setMidBell(1 - mMidBellSmoother.step(settings.midBell), fs);
        for (int ch = 0; ch < 2; ++ch)
            mLowShelf[ch].setLowShelf(1 - mLowShelfSmoother.step(settings.lowShelf), fs);

        // Oversampled path, the two channels interleaved step by step.
        for (int ch = 0; ch < 2; ++ch)
            mDrive[ch] = drive * admitted(in[ch][k]);
        for (int j = 0; j < n; ++j) {
            for (int ch = 0; ch < 2; ++ch) {
                const double up = mUp[ch].step(mG[ch], mC[ch], j == 0 ? mDrive[ch] : 0.0);
                const double w = n * up;
                const double s = ReferenceWaveshaper::shape(w);
                const double down = mDown[ch].step(mG[ch], mC[ch], s);
                if (j == 0)
                    mDecimated[ch] = down;
            }
        }

        for (int ch = 0; ch < 2; ++ch) {
            double x = admitted(in[ch][k]) + mix * mDecimated[ch];
            x = mHighShelf[ch].run(x);
            x = mHighPass[ch].run(x);
            x = mLowPass[ch].run(x);
            x = mMidBell[ch].run(x);
            x = mLowShelf[ch].run(x);
            out[ch][k] = x * settings.outputGain;
        }
    }
}
