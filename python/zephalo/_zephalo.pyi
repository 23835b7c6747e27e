"""Type stubs of the compiled half of the package zephalo."""

import os
from typing import List, Optional, Sequence, Tuple, Union

import numpy as np
import numpy.typing as npt

__version__: str

_Path = Union[str, os.PathLike[str]]
_Values = Union[npt.ArrayLike, Sequence[float]]
_Array = npt.NDArray[np.float64]

class Refused(RuntimeError):
    """A step or calculation refused; str(error) is the program's message."""

    message: str

def run_cli(arguments: List[str]) -> Tuple[int, str, str]:
    """Runs zephalo-cli in this process: (exit status, standard output, standard error)."""

def read_calculated(path: _Path) -> Tuple[_Array, _Array, _Array, _Array]:
    """Calculated_RIXS.DAT: (energy, total, component 1, component 2)."""

def read_measured(path: _Path) -> Tuple[_Array, _Array]:
    """The measured RIXS spectrum: (energy, intensity)."""

def read_measured_map(path: _Path) -> List[Tuple[float, Tuple[_Array, _Array]]]:
    """The measured RIXS map: [(excitation energy, (emission energy, intensity)), ...]."""
    ...

def read_selective(path: _Path) -> Tuple[_Array, _Array, _Array]:
    """SelectiveXAFS_for_RIXS.DAT: (energy, first component, second component)."""

class Model:
    """The inputs of the RIXS calculation held in memory; writes no file."""

    @staticmethod
    def from_workspace(path: _Path) -> Model:
        """Reads the calculation's inputs from a work space; raises Refused."""

    def spectrum(self, omega: float) -> Tuple[_Array, _Array, _Array, _Array]:
        """(emission energy, total, component 1, component 2) at excitation energy omega."""

    def plane(self, omegas: _Values) -> _Array:
        """The totals at every omega as a 2-D array, one row per omega."""

    def with_profile(
        self, energies: _Values, y1: _Values, y2: Optional[_Values] = None
    ) -> Model:
        """A copy with another selective XAFS."""

    def r_factor(self, omega: float, energies: _Values, intensities: _Values) -> float:
        """The compare step's R factor (percent) against a measured spectrum."""

    def fit(
        self,
        omega: float,
        energies: _Values,
        intensities: _Values,
        *,
        from_: Optional[float] = None,
        to: Optional[float] = None,
        smooth: Optional[float] = None,
        band: int = 0,
        map: Sequence[Tuple[float, Tuple[_Values, _Values]]] = ...,
    ) -> FitResult:
        """The selective XAFS fitted to measured spectra as the fit step fits it; raises Refused."""

    @property
    def selective(self) -> Tuple[_Array, _Array, _Array]:
        """The selective XAFS of this model: (energy, first, second component)."""

class FitResult:
    """What Model.fit found."""

    @property
    def model(self) -> Model:
        """The model with the fitted selective XAFS."""

    @property
    def selective(self) -> Tuple[_Array, _Array, _Array]:
        """The fitted selective XAFS: (energy, first, second component)."""

    @property
    def r(self) -> float:
        """The R factor (percent) of the fitted profile at the fit's excitation energy."""

    @property
    def smoothing(self) -> float:
        """The smoothing weight S used."""

    @property
    def automatic(self) -> bool:
        """Whether S was chosen from the measured noise."""

    @property
    def band_a(self) -> Optional[Tuple[_Array, _Array, _Array]]:
        """The first component's band (energy, lower, upper), or None."""

    @property
    def band_b(self) -> Optional[Tuple[_Array, _Array, _Array]]:
        """The second component's band (energy, lower, upper), or None."""

    @property
    def text(self) -> str:
        """The fit step's message."""
