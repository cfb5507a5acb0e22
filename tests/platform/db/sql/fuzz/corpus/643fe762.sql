select [Code], "Name", `Qty` from tStock where Name like '%电%' escape '\'
